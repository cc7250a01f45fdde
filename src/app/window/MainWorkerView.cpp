// What the main window shows of the device worker's reports, on the UI thread.
#include "app/frame/BatteryIndicator.h"
#include "app/start/ReleaseText.h"
#include "app/start/UiText.h"
#include "app/window/DeviceKind.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"
#include "pages/update/UpdateFlow.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/views/DeviceList.h"

#include <algorithm>

namespace corvane::app {

namespace {
// Shown in place of "no device" while a supported mouse is attached whose hidraw node
// this user may not open: the one case a person must act on.
const QString kNoPermissionText =
    QStringLiteral("Corvane has no permission to open the mouse: install the udev rule that "
                   "corvanectl udev-rule prints, see README");
} // namespace

void DeviceMainDlg::forEachPage(const std::function<void(Page&)>& f) {
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] && m_pageBuilt[i])
            f(*m_pages[i]);
    }
}

void DeviceMainDlg::buildPageOfTab(int itemId) {
    struct TabSlot {
        int itemId;
        PageSlot slot;
    };
    static constexpr TabSlot kTabSlots[] = {
        {TabItem::Buttons, PageSlot::Buttons},
        {TabItem::Performance, PageSlot::Performance},
        {TabItem::Macros, PageSlot::Macros},
        {TabItem::Lighting, PageSlot::Lighting},
        {TabItem::DeviceSettings, PageSlot::DeviceSettings},
    };
    for (const TabSlot& entry : kTabSlots) {
        if (entry.itemId == itemId)
            buildPage(entry.slot);
    }
}

bool DeviceMainDlg::isPageBuilt(PageSlot slot) const {
    return m_pageBuilt[static_cast<std::size_t>(slot)];
}

bool DeviceMainDlg::buildPage(PageSlot slot) {
    const auto i = static_cast<std::size_t>(slot);
    if (!m_pages[i] || !m_pageControls[i])
        return false;
    if (m_pageBuilt[i])
        return true;
    // The macro page keeps the button page's macro menu equal to its list.
    if (slot == PageSlot::Macros)
        buildPage(PageSlot::Buttons);
    m_pageBuilt[i] = true;
    Page& built = *m_pages[i];
    built.createControls(*m_pageControls[i]);
    built.applyTexts();
    if (m_detailsShown)
        built.showDeviceDetails(m_details);
    built.reload();
    for (const protocol::UpdateKind kind :
         {protocol::UpdateKind::Program, protocol::UpdateKind::Firmware}) {
        if (const std::optional<protocol::UpdateStatusView> status = m_updates->lastStatus(kind))
            built.showUpdateStatus(*status);
    }
    relayout();
    return true;
}

void DeviceMainDlg::showDeviceState(const protocol::DeviceStateView& view) {
    if (auto* list = find<ui::DeviceList>(MainControl::DeviceList)) {
        list->markAllOffline();
        for (const protocol::DeviceListEntry& entry : listEntriesByType(view.attached)) {
            list->setState(entry.deviceType, entry.mode, entry.onlineState == hid::kOnline);
            list->setFirmwareVersion(entry.deviceType, releaseText(entry.releaseNumber));
        }
        if (view.selectedType != 0) {
            list->select(view.selectedType);
            if (view.details)
                showDeviceDetails(*view.details);
        }
    }
    m_noPermission = view.noPermission;
    m_attached = view.attached;
    showConnectionText(view.connectionText);
    if (view.pagesShown)
        showConfigurationView();
    else
        showHomeView();
    publishServiceState();
    if (m_afterDeviceState)
        m_afterDeviceState();
}

void DeviceMainDlg::refreshPages(unsigned pages) {
    struct PageBit {
        unsigned bit;
        PageSlot slot;
    };
    static constexpr PageBit kOrder[] = {
        {protocol::Page::Buttons, PageSlot::Buttons},
        {protocol::Page::Macros, PageSlot::Macros},
        {protocol::Page::Performance, PageSlot::Performance},
        {protocol::Page::Lighting, PageSlot::Lighting},
    };
    for (const PageBit& entry : kOrder) {
        if ((pages & entry.bit) != 0 && isPageBuilt(entry.slot))
            page(entry.slot)->reload();
    }
}

void DeviceMainDlg::showProfileName(const QString& title) {
    m_profileTitle = title;
    if (auto* button = find<ui::PushButton>(MainControl::Profile))
        button->setText(title.isEmpty() ? uiText(MainText::ProfileWord) : title);
    publishServiceState();
}

void DeviceMainDlg::showBattery(int deviceType, int level, int status) {
    if (auto* battery = find<BatteryIndicator>(MainControl::Battery))
        battery->setBattery(level, status);
    if (auto* list = find<ui::DeviceList>(MainControl::DeviceList))
        list->setBattery(deviceType, level > 0 ? level : -1, status == 1);
    showBatteryOnDesktop(deviceType, level, status);
    publishServiceState();
}

void DeviceMainDlg::showConnectionText(int textId) {
    m_connectionText = textId;
    const bool blocked = m_noPermission && textId == MainText::NoDevice;
    if (auto* text = find<ui::StaticText>(MainControl::DeviceState))
        text->setText(blocked ? kNoPermissionText : uiText(textId));
    // The home page, shown without a device, says it where the connection hint stands.
    if (auto* hint = find<ui::StaticText>(MainControl::BannerText))
        hint->setText(blocked ? kNoPermissionText : uiText(MainText::ConnectHint));
    publishServiceState();
}

void DeviceMainDlg::setDeviceState(int deviceType, int mode, int onlineState) {
    if (auto* list = find<ui::DeviceList>(MainControl::DeviceList))
        list->setState(deviceType, mode, onlineState == hid::kOnline);
    auto known = std::find_if(m_attached.begin(), m_attached.end(), [&](const auto& entry) {
        return entry.deviceType == deviceType && entry.mode == mode;
    });
    if (known != m_attached.end())
        known->onlineState = onlineState;
    else
        m_attached.push_back({deviceType, mode, onlineState, 0});
    publishServiceState();
}

} // namespace corvane::app
