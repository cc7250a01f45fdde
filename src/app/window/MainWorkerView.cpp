// What the main window shows of the device worker's reports, on the UI thread.
#include "app/frame/BatteryIndicator.h"
#include "app/start/ReleaseText.h"
#include "app/start/UiText.h"
#include "app/window/DeviceKind.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"
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
    for (const std::unique_ptr<Page>& page : m_pages) {
        if (page)
            f(*page);
    }
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
        if ((pages & entry.bit) != 0) {
            if (Page* target = page(entry.slot))
                target->reload();
        }
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
