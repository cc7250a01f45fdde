#pragma once

#include <QStringList>

namespace corvane::app {

struct LaunchOptions {
    // "-hide" anywhere on the command line, also inside a longer word: start in the
    // tray with the window hidden.
    bool startHidden = false;
    // "--virtual-mouse": attach the emulated devices in place of the real ones.
    bool virtualMouse = false;
};

// arguments as QCoreApplication::arguments() gives them: the first is the program
// itself and is not examined. Anything else (such as "-autorun") has no effect.
LaunchOptions parseCommandLine(const QStringList& arguments);

} // namespace corvane::app
