#include "app/frame/WindowPolicy.h"

namespace corvane::app {

CloseAction closeActionFor(int exitMode, bool trayAvailable) {
    if (exitMode != 1)
        return CloseAction::Quit;
    return trayAvailable ? CloseAction::HideToTray : CloseAction::Minimize;
}

StartAppearance startAppearanceFor(bool startHidden, bool trayAvailable) {
    if (!startHidden)
        return StartAppearance::Shown;
    return trayAvailable ? StartAppearance::HiddenInTray : StartAppearance::Minimized;
}

} // namespace corvane::app
