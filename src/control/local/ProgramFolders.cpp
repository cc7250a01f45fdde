#include "control/local/ProgramFolders.h"

#include "control/local/DeviceFileName.h"

#include <QDir>
#include <QFileInfo>

namespace corvane::control {

QString exeFolderFor(const QString& executablePath) {
    const QString folder = QFileInfo(executablePath).absolutePath();
    if (QFileInfo::exists(folder + QStringLiteral("/config.xml")))
        return folder;
    return QDir::cleanPath(folder + QStringLiteral("/../share/corvane"));
}

QString xdgFolderFor(const QString& variableValue, const QString& home, const QString& fallback) {
    if (!variableValue.isEmpty() && QDir::isAbsolutePath(variableValue))
        return QDir::cleanPath(variableValue);
    return QDir::cleanPath(home + u'/' + fallback);
}

QString dataFolderFor(const QString& dataHome, const QString& deviceName) {
    return dataHome + u'/' + deviceFileName(deviceName) + QStringLiteral(" Files/");
}

bool ensureDirectory(const QString& path) {
    if (path.isEmpty())
        return false;
    QDir().mkpath(path);
    return QFileInfo(path).isDir();
}

QString executablePath() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString configHome() {
    return xdgFolderFor(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath(),
                        QStringLiteral(".config"));
}

QString dataHome() {
    return xdgFolderFor(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath(),
                        QStringLiteral(".local/share"));
}

QString exeFolder() {
    return exeFolderFor(executablePath());
}

} // namespace corvane::control
