#include "control/local/InstancePaths.h"

#include "control/local/DeviceFileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace corvane::control {

InstancePaths instancePathsFor(const QString& deviceName, const QString& runtimeDir,
                               const QString& tempDir, unsigned userId) {
    const QString name = deviceFileName(deviceName);
    QString folder;
    if (!runtimeDir.isEmpty() && QDir::isAbsolutePath(runtimeDir))
        folder = QDir::cleanPath(runtimeDir);
    else
        folder = privateTempFolder(tempDir, userId);
    if (folder.isEmpty())
        return {};
    const QString base = folder + u'/' + name;
    return {base + QStringLiteral(".lock"), base + QStringLiteral(".socket")};
}

QString privateTempFolder(const QString& tempDir, unsigned userId) {
    if (tempDir.isEmpty() || !QDir::isAbsolutePath(tempDir))
        return {};
    const QString folder =
        QDir::cleanPath(tempDir) + QStringLiteral("/corvane-") + QString::number(userId);
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != static_cast<uid_t>(userId) || (info.st_mode & 077) != 0)
        return {};
    return folder;
}

InstancePaths instancePaths(const QString& deviceName) {
    const unsigned userId = static_cast<unsigned>(::getuid());
    QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtimeDir.isEmpty()) {
        const QFileInfo userRuntime(QStringLiteral("/run/user/%1").arg(userId));
        if (userRuntime.isDir() && userRuntime.ownerId() == userId)
            runtimeDir = userRuntime.filePath();
    }
    return instancePathsFor(deviceName, runtimeDir, QDir::tempPath(), userId);
}

} // namespace corvane::control
