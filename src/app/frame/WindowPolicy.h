#pragma once

namespace corvane::app {

// What the close button does, from the stored "exit_mode".
enum class CloseAction {
    HideToTray, // exit_mode 1 with a tray to return from
    Minimize,   // exit_mode 1, but the desktop shows no tray: hiding would strand the window
    Quit,       // any other exit_mode: remove the tray icon and end with code 0
};

CloseAction closeActionFor(int exitMode, bool trayAvailable);

// How the main window first appears.
enum class StartAppearance {
    Shown,
    HiddenInTray, // "-hide": only the tray icon
    Minimized,    // "-hide" without a tray
};

StartAppearance startAppearanceFor(bool startHidden, bool trayAvailable);

} // namespace corvane::app
