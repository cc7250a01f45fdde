#include "control/InstancePaths.h"

#include "control/DeviceFileName.h"

#include <QDir>

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
    return instancePathsFor(deviceName, qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath(),
                            static_cast<unsigned>(::getuid()));
}

} // namespace corvane::control
