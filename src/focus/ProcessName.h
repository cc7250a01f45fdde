#pragma once

#include <QString>

namespace corvane::focus {

// The file name of the program a process runs (/proc/PID/exe, else /proc/PID/comm);
// empty when the process is gone or not ours to read.
QString executableName(qint64 pid);

} // namespace corvane::focus
