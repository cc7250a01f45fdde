#include "control/local/UserKey.h"

#include "control/local/DeviceFileName.h"
#include "control/local/ProgramFolders.h"
#include "control/names/DecimalText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <mutex>

namespace corvane::control {

namespace {

// Both threads write here ("DeviceType" from the device worker, the rest from the UI):
// one lock keeps each read-modify-write whole.
std::mutex& fileLock() {
    static std::mutex lock;
    return lock;
}

const QString lcidName = QStringLiteral("LCID");
const QString deviceTypeName = QStringLiteral("DeviceType");
constexpr int lcidWhenUnavailable = 2052;

// The name part of a "name=value" line, blanks around it ignored.
QStringView nameOf(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QStringView() : QStringView(line).left(eq).trimmed();
}

bool holdsLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

bool writeAll(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += '\n';
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

UserKey::UserKey(QString filePath) : path(std::move(filePath)) {}

QString UserKey::filePathFor(const QString& configHome, const QString& deviceName) {
    return configHome + u'/' + deviceFileName(deviceName) + QStringLiteral("/user.ini");
}

UserKey UserKey::forDevice(const QString& deviceName) {
    return UserKey(filePathFor(configHome(), deviceName));
}

UserKey::Open UserKey::readLines(QStringList& lines) const {
    QFile file(path);
    if (!file.exists())
        return Open::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return Open::Failed;
    const QString text = QString::fromUtf8(file.readAll());
    lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return Open::Ok;
}

bool UserKey::createKey() const {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return writeAll(path, {});
}

int UserKey::readUserValue(const QString& name) {
    std::lock_guard guard(fileLock());
    const int unavailable =
        name.compare(lcidName, Qt::CaseInsensitive) == 0 ? lcidWhenUnavailable : 0;
    QStringList lines;
    switch (readLines(lines)) {
    case Open::Failed:
        return unavailable;
    case Open::Missing:
        // The first read creates the key, except for "DeviceType".
        if (name.compare(deviceTypeName, Qt::CaseInsensitive) == 0)
            return 0;
        return createKey() ? 0 : unavailable;
    case Open::Ok:
        break;
    }
    for (const QString& line : lines) {
        if (nameOf(line).compare(name, Qt::CaseInsensitive) == 0)
            return leadingInt(QStringView(line).mid(line.indexOf(u'=') + 1));
    }
    return 0;
}

bool UserKey::writeUserValue(const QString& name, const QString& text) {
    // A line break or '=' in the name would make a second line or a different name.
    if (name.trimmed().isEmpty() || name.contains(u'=') || holdsLineBreak(name) ||
        holdsLineBreak(text))
        return false;
    std::lock_guard guard(fileLock());
    QStringList lines;
    switch (readLines(lines)) {
    case Open::Failed:
        return false; // never replace a file we could not read
    case Open::Missing:
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            return false;
        break;
    case Open::Ok:
        break;
    }
    const QString entry = name.trimmed() + u'=' + text;
    bool placed = false;
    QStringList updated;
    for (const QString& line : lines) {
        if (nameOf(line).compare(name.trimmed(), Qt::CaseInsensitive) != 0) {
            updated << line;
        } else if (!placed) {
            updated << entry;
            placed = true;
        }
    }
    if (!placed)
        updated << entry;
    return writeAll(path, updated);
}

} // namespace corvane::control
