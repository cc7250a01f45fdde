#include "control/local/InstancePaths.h"

#include "control/local/DeviceFileName.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace corvane::control {

InstancePaths instancePathsFor(const QString& deviceName, const QString& runtimeDir,
                               const QString& tempDir, unsigned userId) {
    const QString name = deviceFileName(deviceName);
    QString base;
    if (!runtimeDir.isEmpty() && QDir::isAbsolutePath(runtimeDir))
        base = QDir::cleanPath(runtimeDir) + u'/' + name;
    else
        base = QDir::cleanPath(tempDir) + u'/' + name + u'-' + QString::number(userId);
    return {base + QStringLiteral(".lock"), base + QStringLiteral(".socket")};
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
