#include "app/desktop/MouseSettings.h"

#include "app/desktop/ProgramLauncher.h"

#include <array>

namespace corvane::app {

namespace {

struct MouseSettingsProgram {
    const char16_t* desktop; // as $XDG_CURRENT_DESKTOP names it
    const char16_t* program;
    const char16_t* argument; // empty: none
};

constexpr std::array programs{
    MouseSettingsProgram{u"GNOME", u"gnome-control-center", u"mouse"},
    MouseSettingsProgram{u"KDE", u"systemsettings", u"kcm_mouse"},
    MouseSettingsProgram{u"KDE", u"systemsettings5", u"kcm_mouse"},
    MouseSettingsProgram{u"XFCE", u"xfce4-mouse-settings", u""},
    MouseSettingsProgram{u"X-Cinnamon", u"cinnamon-settings", u"mouse"},
    MouseSettingsProgram{u"MATE", u"mate-mouse-properties", u""},
    MouseSettingsProgram{u"Budgie", u"budgie-control-center", u"mouse"},
    MouseSettingsProgram{u"LXQt", u"lxqt-config-input", u""},
};

std::optional<LaunchCommand> found(const MouseSettingsProgram& entry,
                                   const ProgramLauncher& launcher) {
    const QString path = launcher.findExecutable(QString::fromUtf16(entry.program));
    if (path.isEmpty())
        return std::nullopt;
    const QString argument = QString::fromUtf16(entry.argument);
    return LaunchCommand{path, argument.isEmpty() ? QStringList() : QStringList{argument}};
}

} // namespace

std::optional<LaunchCommand> mouseSettingsCommand(const QString& currentDesktop,
                                                  const ProgramLauncher& launcher) {
    const QStringList desktops = currentDesktop.split(u':', Qt::SkipEmptyParts);
    for (const QString& desktop : desktops) {
        for (const MouseSettingsProgram& entry : programs) {
            if (desktop.compare(QString::fromUtf16(entry.desktop), Qt::CaseInsensitive) != 0)
                continue;
            if (auto command = found(entry, launcher))
                return command;
        }
    }
    for (const MouseSettingsProgram& entry : programs) {
        if (auto command = found(entry, launcher))
            return command;
    }
    return std::nullopt;
}

bool openMouseSettings(const QString& currentDesktop, ProgramLauncher& launcher) {
    const auto command = mouseSettingsCommand(currentDesktop, launcher);
    return command && launcher.startDetached(command->program, command->arguments);
}

} // namespace corvane::app
