#include "app/desktop/Autostart.h"

#include "app/start/DeviceFileName.h"
#include "app/start/UserValues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace corvane::app {

namespace {

// Characters that oblige an Exec argument to be quoted.
const QString reservedInExec = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
// Characters that need a backslash inside a quoted Exec argument.
const QString escapedInQuotes = QStringLiteral("\"`$\\");

// The value of a key in the [Desktop Entry] group.
QString keyValue(const QString& text, const QString& key) {
    bool inMainGroup = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == u"[Desktop Entry]";
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inMainGroup && eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed().toString();
    }
    return {};
}

} // namespace

QString desktopExecArgument(const QString& argument) {
    const bool quote =
        argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                          [](QChar c) { return reservedInExec.contains(c); });
    QString out;
    if (quote)
        out += u'"';
    for (QChar c : argument) {
        if (c == u'%')
            out += u'%';
        else if (quote && escapedInQuotes.contains(c))
            out += u'\\';
        out += c;
    }
    if (quote)
        out += u'"';
    return out;
}

QString desktopStringValue(const QString& value) {
    QString out;
    for (QChar c : value) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString autostartEntryText(const QString& deviceName, const QString& executablePath) {
    const QString exec = desktopExecArgument(executablePath) + QStringLiteral(" -autorun");
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(desktopStringValue(deviceName), desktopStringValue(exec));
}

QString autostartEntryPathFor(const QString& configHome, const QString& deviceName) {
    return configHome + QStringLiteral("/autostart/") + deviceFileName(deviceName) +
           QStringLiteral(".desktop");
}

Autostart::Autostart(QString entryPath, QString deviceName, QString executablePath,
                     UserValues& values)
    : path(std::move(entryPath)), name(std::move(deviceName)),
      executable(std::move(executablePath)), userValues(values) {}

bool Autostart::setAutorun(bool on) {
    if (!on) {
        userValues.writeUserValue(QStringLiteral("autorun_minimize"), QStringLiteral("0"));
        return !QFileInfo::exists(path) || QFile::remove(path);
    }
    if (executable.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = autostartEntryText(name, executable).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool Autostart::isEnabled() const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(file.read(64 * 1024));
    if (keyValue(text, QStringLiteral("Exec")).isEmpty())
        return false;
    return keyValue(text, QStringLiteral("Hidden")) != u"true" &&
           keyValue(text, QStringLiteral("X-GNOME-Autostart-enabled")) != u"false";
}

} // namespace corvane::app
