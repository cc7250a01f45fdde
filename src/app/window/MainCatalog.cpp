// The catalog on the main window: the device list and the supported interfaces from
// config.xml, the version line, and a device type's description on the widgets.
#include "app/start/AppLog.h"
#include "app/start/UiText.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"
#include "catalog/SupportedInterfaces.h"
#include "catalog/UserDevices.h"
#include "hid/DeviceManager.h"
#include "ui/base/Settings.h"
#include "ui/controls/StaticText.h"
#include "ui/views/DeviceList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/TabControl.h"

namespace corvane::app {

void DeviceMainDlg::loadCatalog() {
    m_catalog = catalog::readCatalog(m_context.exeFolder + QStringLiteral("/config.xml"));
    // The user's own models follow the installed ones; a file that is broken or would
    // take an installed model's place is left out and told about here.
    for (const catalog::UserDeviceReport& report :
         catalog::addUserDevices(m_catalog, m_context.userDeviceFolder)) {
        for (const QString& line : report.lines())
            qCWarning(lcDevices).noquote() << line;
    }

    auto* list = find<ui::DeviceList>(MainControl::DeviceList);
    list->clear();
    for (const catalog::DeviceDescription& device : m_catalog.devices)
        list->addEntry(device.name, device.deviceType, device.imagePath(ui::skinFolder()));

    // The worker is not running yet: nothing else uses the manager's table now.
    catalog::registerSupportedInterfaces(m_catalog, hid::DeviceManager::instance());

    if (auto* version = find<ui::StaticText>(MainControl::VersionLine))
        version->setText(versionLine());
    // The program settings page shows the version as well.
    if (Page* settings = page(PageSlot::ProgramSettings);
        settings && isPageBuilt(PageSlot::ProgramSettings))
        settings->applyTexts();
}

QString DeviceMainDlg::versionLine() const {
    if (m_catalog.product.version.isEmpty())
        return {};
    return QStringLiteral("%1: v%2").arg(uiText(MainText::VersionLabel), m_catalog.product.version);
}

void DeviceMainDlg::showDeviceDetails(const catalog::DeviceDetails& details) {
    m_details = details;
    m_detailsShown = true;

    auto* mouse = find<ui::MousePicture>(MainControl::MousePicture);
    mouse->setImage(details.mousePicture);
    mouse->clearCallouts();
    for (const catalog::KeyEntry& key : details.keys) {
        mouse->addCallout(uiText(key.nameId), key.keyValue, key.direction,
                          QPoint(key.callout.x1, key.callout.y),
                          QPoint(key.callout.x2, key.callout.y), key.dashed);
    }
    if (mouse->count() > 0)
        mouse->select(0);

    find<ui::TabControl>(MainControl::Tabs)
        ->setItemVisible(TabIndex::Lighting, details.hasLighting);
    forEachPage([&](Page& page) { page.showDeviceDetails(details); });
    relayout();
}

} // namespace corvane::app
