#pragma once

#include <QString>

namespace corvane::control {

// The lock file and the local socket that keep one running instance per user.
struct InstancePaths {
    QString lockFile;
    QString socket;
};

// In $XDG_RUNTIME_DIR (private to the user) as <device>.lock and <device>.socket.
// Without a usable runtime folder they go to the shared temporary folder, where the
// user id in the names keeps two users' instances apart.
InstancePaths instancePathsFor(const QString& deviceName, const QString& runtimeDir,
                               const QString& tempDir, unsigned userId);

// The paths of the running program ($XDG_RUNTIME_DIR, QDir::tempPath(), getuid()).
// Without $XDG_RUNTIME_DIR (a cron job, a plain ssh session) the user's own
// /run/user/<uid> stands in when it exists, so that corvanectl started there meets the
// window's socket and lock file rather than a second pair in the temporary folder.
InstancePaths instancePaths(const QString& deviceName);

} // namespace corvane::control
