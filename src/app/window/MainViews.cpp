// Which parts of the main window are shown: the tabs, the home page, the program
// settings page, and the device list's choice of a device.
#include "app/start/UiText.h"
#include "app/window/DeviceKind.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"
#include "app/window/MessageBoxes.h"
#include "hid/DeviceManager.h"
#include "pages/dialogs/MessageBox.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "ui/views/DeviceList.h"
#include "ui/views/Picture.h"
#include "ui/views/TabControl.h"

namespace corvane::app {

namespace {

struct TabPage {
    int itemId;
    int container;
};
constexpr TabPage kTabPages[] = {
    {TabItem::Home, MainControl::HomePage},
    {TabItem::Buttons, MainControl::ButtonsPage},
    {TabItem::Performance, MainControl::PerformancePage},
    {TabItem::Macros, MainControl::MacrosPage},
    {TabItem::Lighting, MainControl::LightingPage},
    {TabItem::DeviceSettings, MainControl::DeviceSettingsPage},
};

// What the home tab hides so that the home page fills the window.
constexpr int kHiddenOnHome[] = {
    MainControl::MousePicture, MainControl::TabBackground, MainControl::Tabs,
    MainControl::DeviceState,  MainControl::Profile,       MainControl::RestoreDefaults,
    MainControl::Battery,
};

// What the configuration pages show besides the tab column.
constexpr int kShownWithPages[] = {
    MainControl::MousePicture,
    MainControl::DeviceState,
    MainControl::Profile,
    MainControl::RestoreDefaults,
};

} // namespace

void DeviceMainDlg::selectTab(int index) {
    auto* tabs = find<ui::TabControl>(MainControl::Tabs);
    if (!tabs || tabs->itemId(index) == 0)
        return;
    tabs->setCurrentIndex(index);
    onTabChanged(index);
}

void DeviceMainDlg::onTabChanged(int index) {
    const int item = find<ui::TabControl>(MainControl::Tabs)->itemId(index);
    if (item == 0)
        return;
    if (isProgramSettingsShown()) {
        control(MainControl::ProgramSettingsPage)->hide();
        setSystemButtonsShown(true);
    }
    // The picture's callouts choose keys of the buttons page; over the other pages it
    // would only cover their controls.
    control(MainControl::MousePicture)->setVisible(item == TabItem::Buttons);
    control(MainControl::Battery)->show();
    if (item == TabItem::Home) {
        for (int id : kHiddenOnHome)
            control(id)->hide();
    }
    m_lastTab = item;
    showPageOfTab(item);
    relayout();
}

void DeviceMainDlg::showPageOfTab(int itemId) {
    buildPageOfTab(itemId);
    control(MainControl::ProgramSettingsPage)->hide();
    for (const TabPage& entry : kTabPages)
        control(entry.container)->setVisible(entry.itemId == itemId);
}

void DeviceMainDlg::setTabColumnShown(bool shown) {
    control(MainControl::TabBackground)->setVisible(shown);
    control(MainControl::Tabs)->setVisible(shown);
}

void DeviceMainDlg::setSystemButtonsShown(bool shown) {
    for (int id :
         {MainControl::Close, MainControl::Minimise, MainControl::Settings, MainControl::Maximise})
        control(id)->setVisible(shown);
}

void DeviceMainDlg::showHomeView() {
    selectTab(TabIndex::Home);
}

void DeviceMainDlg::showConfigurationView() {
    setTabColumnShown(true);
    selectTab(TabIndex::Buttons);
    for (int id : kShownWithPages)
        control(id)->show();
    relayout();
}

void DeviceMainDlg::showFirmwareRecoveryView() {
    if (isProgramSettingsShown())
        leaveProgramSettings();
    setTabColumnShown(true);
    if (auto* tabs = find<ui::TabControl>(MainControl::Tabs))
        selectTab(tabs->indexOfItem(TabItem::DeviceSettings));
    relayout();
}

void DeviceMainDlg::showProgramSettings() {
    buildPage(PageSlot::ProgramSettings);
    setTabColumnShown(false);
    for (int id : {MainControl::MousePicture, MainControl::Battery, MainControl::Settings,
                   MainControl::Maximise})
        control(id)->hide();
    for (const TabPage& entry : kTabPages)
        control(entry.container)->hide();
    control(MainControl::ProgramSettingsPage)->show();
    relayout();
}

void DeviceMainDlg::leaveProgramSettings() {
    control(MainControl::ProgramSettingsPage)->hide();
    setSystemButtonsShown(true);
    if (idlePolling() && m_lastTab != TabItem::Home)
        showConfigurationView();
    else
        showHomeView();
}

bool DeviceMainDlg::isProgramSettingsShown() const {
    const ui::Control* page = control(MainControl::ProgramSettingsPage);
    return page && !page->isHidden();
}

void DeviceMainDlg::selectDevice() {
    auto* list = find<ui::DeviceList>(MainControl::DeviceList);
    if (!list || !m_worker)
        return;
    const int type = list->selectedType();
    const int kind = connectionKindOf(hid::DeviceManager::instance().devices(), type);
    if (kind < 0) {
        // Nothing changes: the list shows the device the worker is (or will be) on.
        if (!list->select(m_worker->chosenDeviceType()))
            list->clearSelection();
        m_context.messageBoxes->showMessage(uiText(MainText::ConnectHint), this,
                                            uiText(MainText::NotConnected),
                                            pages::MessageOneButton);
        return;
    }
    // The worker settles the type (stored choice, store file, description, profiles) on
    // its own thread, so that no task in progress writes into another type's store. The
    // click is compared with the last choice queued, which the worker has perhaps not
    // settled yet: B then A again must end on A.
    const bool changed = m_worker->selectDeviceType(type);
    if (kind == hid::kModeWireless) {
        showConnectionText(MainText::Wireless);
        queueTask(protocol::DeviceTask::Reselect);
    } else {
        showConnectionText(MainText::Wired);
        // A mouse on a cable chosen for the first time is read back like one that
        // arrived, so the pages show its settings and its firmware version.
        if (changed)
            queueTask(protocol::DeviceTask::Reselect);
    }
    showConfigurationView();
}

} // namespace corvane::app
