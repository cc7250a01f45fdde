#pragma once
// app/demo: documentation screenshots, their views, and the virtual mice of a demo run.

#include <QString>

namespace corvane::app {

class DeviceMainDlg;

// A switch for documentation and checks: with CORVANE_SCREENSHOT=<file.png> in the
// environment, the window is saved into that file `delayMs` after the device worker
// first reported the devices (time for the mouse to be read back). Optional:
// CORVANE_SCREENSHOT_TAB=<index> selects that tab first (0 is the home page),
// CORVANE_SCREENSHOT_VIEW picks a view (settings, profiles, performance, lighting,
// buttons, macros), and
// CORVANE_SCREENSHOT_QUIT=1 ends the program afterwards. Does nothing without the first
// variable.
void installScreenshotHook(DeviceMainDlg& window, int delayMs = 1500);

// Saves the window's current look as a PNG file; false when it cannot be written.
bool saveWindowImage(DeviceMainDlg& window, const QString& path);

} // namespace corvane::app
