#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace corvane::app {

class ProgramLauncher;

struct LaunchCommand {
    QString program; // full path
    QStringList arguments;
};

// The desktop's mouse settings: among the known settings programs found on PATH, the
// one of the running desktop (currentDesktop is $XDG_CURRENT_DESKTOP, a colon-separated
// list such as "ubuntu:GNOME") comes first, else the first found in table order.
std::optional<LaunchCommand> mouseSettingsCommand(const QString& currentDesktop,
                                                  const ProgramLauncher& launcher);

// Starts it; false (and nothing started) when the desktop has none.
bool openMouseSettings(const QString& currentDesktop, ProgramLauncher& launcher);

} // namespace corvane::app
