#pragma once

#include <QString>

namespace corvane::control {

// The lock file and the local socket that keep one running instance per user.
struct InstancePaths {
    QString lockFile;
    QString socket;
};

// In $XDG_RUNTIME_DIR (private to the user) as <device>.lock and <device>.socket.
// Without a usable runtime folder they go to the user's private folder in the
// temporary folder (privateTempFolder); both paths are empty when there is none, and
// the program then runs without a lock and a socket.
InstancePaths instancePathsFor(const QString& deviceName, const QString& runtimeDir,
                               const QString& tempDir, unsigned userId);

// `tempDir`/corvane-<userId>, made with mode 0700 when missing. Used only when lstat
// finds a folder (not a link to one) owned by that user that nobody else may enter;
// otherwise (another user made it first, or opened it up) empty.
QString privateTempFolder(const QString& tempDir, unsigned userId);

// The paths of the running program ($XDG_RUNTIME_DIR, QDir::tempPath(), getuid()).
// Without $XDG_RUNTIME_DIR (a cron job, a plain ssh session) the user's own
// /run/user/<uid> stands in when it exists, so that corvanectl started there meets the
// window's socket and lock file rather than a second pair in the temporary folder.
InstancePaths instancePaths(const QString& deviceName);

} // namespace corvane::control
