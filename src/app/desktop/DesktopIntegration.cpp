#include "app/desktop/DesktopIntegration.h"

#include "app/desktop/DeleteTree.h"
#include "app/desktop/MouseSettings.h"
#include "app/desktop/UrlOpener.h"

namespace corvane::app {

DesktopIntegration::DesktopIntegration(Autostart autostart, ProgramLauncher& launcher,
                                       UrlOpener& opener, QString currentDesktop)
    : autostart(std::move(autostart)), launcher(launcher), opener(opener),
      desktop(std::move(currentDesktop)) {}

bool DesktopIntegration::setAutorun(bool on) {
    return autostart.setAutorun(on);
}

bool DesktopIntegration::isAutorunEnabled() const {
    return autostart.isEnabled();
}

bool DesktopIntegration::openMouseControlPanel() {
    return openMouseSettings(desktop, launcher);
}

bool DesktopIntegration::openUrl(const QString& url) {
    if (url.trimmed().isEmpty())
        return false;
    return opener.openUrl(url);
}

bool DesktopIntegration::deleteTree(const QString& path) {
    return corvane::app::deleteTree(path);
}

} // namespace corvane::app
