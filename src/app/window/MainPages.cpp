#include "app/MainPages.h"

#include "app/DeviceMainDlg.h"
#include "pages/ButtonPage.h"
#include "pages/DeviceSettingsPage.h"
#include "pages/LightingPage.h"
#include "pages/MacroPage.h"
#include "pages/PerformancePage.h"
#include "pages/ProgramSettingsPage.h"

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
