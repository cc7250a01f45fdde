#pragma once
// app/desktop: autostart, links, launched programs, tray, hot-plug and device changes.

#include "app/desktop/Autostart.h"
#include "app/desktop/SystemIntegration.h"

namespace corvane::app {

class ProgramLauncher;
class UrlOpener;

// SystemIntegration on a Linux desktop: XDG autostart entry, the desktop's mouse
// settings, links through the desktop's handler, std::filesystem deletion.
class DesktopIntegration : public SystemIntegration {
public:
    DesktopIntegration(Autostart autostart, ProgramLauncher& launcher, UrlOpener& opener,
                       QString currentDesktop);

    bool setAutorun(bool on) override;
    bool isAutorunEnabled() const override;
    bool openMouseControlPanel() override;
    bool openUrl(const QString& url) override;
    bool deleteTree(const QString& path) override;

private:
    Autostart autostart;
    ProgramLauncher& launcher;
    UrlOpener& opener;
    QString desktop;
};

} // namespace corvane::app
