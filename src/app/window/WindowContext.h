#pragma once

#include "app/desktop/SystemIntegration.h"
#include "app/start/UserValues.h"
#include "app/window/MessageBoxes.h"

#include "protocol/worker/WorkerConfig.h"

#include <QString>

#include <functional>
#include <memory>

namespace corvane::pages {
class FileDialogs;
}

namespace corvane::vm {
class VirtualMouse;
}

namespace corvane::focus {
class FocusWatcher;
}

namespace corvane::app {

class ProgramLauncher;

// What the main window is given by start-up (and by tests). The referenced objects
// must outlive the window.
struct WindowContext {
    QString exeFolder;  // holds config.xml, device/ and language/
    QString dataFolder; // the per-user data folder, with a trailing slash; db/ below it
    // The user's own device files (<dataHome>/corvane/devices); none when empty.
    QString userDeviceFolder;
    // The per-user values; the device worker reads and writes "DeviceType" through them
    // from its own thread, so they must be safe to share (SharedUserValues).
    UserValues* userValues = nullptr;
    MessageBoxes* messageBoxes = nullptr;
    SystemIntegration* system = nullptr; // links and the desktop's mouse settings; may be null
    // The file dialogs of profile import and export; the desktop's when null.
    pages::FileDialogs* fileDialogs = nullptr;
    // Ends the program with the exit code. Start-up ends the window's modal run; tests
    // record the call instead of ending the test process.
    std::function<void(int exitCode)> quit;
    // Whether the desktop shows tray icons (QSystemTrayIcon::isSystemTrayAvailable when
    // empty).
    std::function<bool()> trayAvailable;
    // The pauses of the device worker (tests shorten them).
    protocol::WorkerDelays delays;
    // How the update tasks reach the server and the bootloader (tests give their own).
    protocol::UpdateConfig updates;
    // Starts the downloaded setup; the system's QProcess::startDetached when null.
    ProgramLauncher* launcher = nullptr;
    // The virtual devices, when they stand in for the real ones: their hot-plug notices
    // are watched in place of udev.
    std::shared_ptr<vm::VirtualMouse> virtualDevices;
    // Watch udev for hidraw arrivals and removals (without virtual devices).
    bool watchSystemHotplug = true;
    // Makes the watcher of the focused application; when empty, the one the session's
    // environment calls for. Returning null turns following the focus off.
    std::function<std::unique_ptr<focus::FocusWatcher>()> focusWatcher;
    // Where the session-bus service (io.github.corvane.Corvane) is published: the
    // desktop's session bus when `address` is empty; a test gives a private bus's address,
    // or turns publishing off.
    struct ServiceBus {
        bool publish = true;
        QString address;
    } serviceBus;
};

} // namespace corvane::app
