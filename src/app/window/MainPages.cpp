#include "app/window/MainPages.h"

#include "app/window/DeviceMainDlg.h"
#include "pages/buttons/ButtonPage.h"
#include "pages/lighting/LightingPage.h"
#include "pages/macros/MacroPage.h"
#include "pages/performance/PerformancePage.h"
#include "pages/settings/DeviceSettingsPage.h"
#include "pages/settings/ProgramSettingsPage.h"

namespace corvane::app {

void addConfigurationPages(DeviceMainDlg& window) {
    auto buttons = std::make_unique<pages::ButtonPage>(window.pageHost());
    // The macro page keeps the button page's macro menu equal to its macro list.
    auto macros = std::make_unique<pages::MacroPage>(window.pageHost(), buttons.get());
    window.addPage(PageSlot::Buttons, std::move(buttons));
    window.addPage(PageSlot::Macros, std::move(macros));
    window.addPage(PageSlot::Performance,
                   std::make_unique<pages::PerformancePage>(window.pageHost()));
    window.addPage(PageSlot::Lighting, std::make_unique<pages::LightingPage>(window.pageHost()));
    window.addPage(PageSlot::DeviceSettings,
                   std::make_unique<pages::DeviceSettingsPage>(window.pageHost()));
    window.addPage(PageSlot::ProgramSettings,
                   std::make_unique<pages::ProgramSettingsPage>(window.pageHost()));
}

} // namespace corvane::app
