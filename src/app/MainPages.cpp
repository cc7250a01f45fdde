#include "app/MainPages.h"

#include "app/DeviceMainDlg.h"
#include "pages/DeviceSettingsPage.h"
#include "pages/LightingPage.h"
#include "pages/PerformancePage.h"
#include "pages/ProgramSettingsPage.h"

namespace corvane::app {

void addConfigurationPages(DeviceMainDlg& window) {
    window.addPage(PageSlot::Performance,
                   std::make_unique<pages::PerformancePage>(window.pageHost()));
    window.addPage(PageSlot::Lighting, std::make_unique<pages::LightingPage>(window.pageHost()));
    window.addPage(PageSlot::DeviceSettings,
                   std::make_unique<pages::DeviceSettingsPage>(window.pageHost()));
    window.addPage(PageSlot::ProgramSettings,
                   std::make_unique<pages::ProgramSettingsPage>(window.pageHost()));
}

} // namespace corvane::app
