#include "app/desktop/DeviceChangeWiring.h"

#include "app/desktop/HotplugMonitor.h"
#include "app/start/AppLog.h"
#include "catalog/DeviceChange.h"
#include "hid/DeviceManager.h"
#include "hid/InterfaceRules.h"
#include "ui/base/Post.h"
#include "virtualmouse/VirtualMouse.h"

#include <QPointer>

#include <algorithm>

namespace corvane::app {

namespace {

// (usage page, usage) of the enumeration entry with this path. A hidraw node is listed
// once per top-level collection, all under the node's path: the command collection is
// reported when the node has one, whatever its place among the others.
std::optional<std::pair<int, int>> usageOfPath(const QString& path) {
    const std::string wanted = path.toStdString();
    std::optional<std::pair<int, int>> first;
    for (const hid::HidDeviceInfo& info : hid::DeviceManager::instance().hidApi().enumerate(0, 0)) {
        if (info.path != wanted)
            continue;
        if (hid::isCommandUsage(info.usagePage, info.usage))
            return std::pair<int, int>(info.usagePage, info.usage);
        if (!first)
            first = std::pair<int, int>(info.usagePage, info.usage);
    }
    return first;
}

// The USB interfaces that carry the command collection of a (vid, pid): those the last
// scan saw (a removed node is gone from the enumeration by the time its removal is
// handled) and those the enumeration shows now.
std::vector<int> commandInterfacesOf(int vendorId, int productId) {
    hid::DeviceManager& manager = hid::DeviceManager::instance();
    std::vector<int> numbers;
    const auto add = [&numbers](int number) {
        if (number >= 0 && std::find(numbers.begin(), numbers.end(), number) == numbers.end())
            numbers.push_back(number);
    };
    for (const hid::CommandInterface& seen : manager.commandInterfaces()) {
        if (seen.vendorId == vendorId && seen.productId == productId)
            add(seen.interfaceNumber);
    }
    for (const hid::HidDeviceInfo& info : manager.hidApi().enumerate(
             static_cast<std::uint16_t>(vendorId), static_cast<std::uint16_t>(productId))) {
        if (hid::isCommandUsage(info.usagePage, info.usage))
            add(info.interfaceNumber);
    }
    return numbers;
}

} // namespace

DeviceChangeWiring::DeviceChangeWiring(const catalog::DeviceCatalog& catalog, Hooks hooks,
                                       QObject* parent)
    : QObject(parent), catalog(catalog), hooks(std::move(hooks)) {}

DeviceChangeWiring::~DeviceChangeWiring() {
    if (virtualDevices)
        virtualDevices->setHotplugListener({});
}

bool DeviceChangeWiring::watchSystem() {
    if (monitor)
        return monitor->isActive();
    monitor = new HotplugMonitor(this);
    connect(monitor, &HotplugMonitor::deviceChanged, this,
            [this](const QString& interfaceText, const QString& node, bool arrived) {
                handleChange(interfaceText, node, arrived);
            });
    return monitor->isActive();
}

void DeviceChangeWiring::watchVirtual(std::shared_ptr<vm::VirtualMouse> devices) {
    if (virtualDevices)
        virtualDevices->setHotplugListener({});
    virtualDevices = std::move(devices);
    if (!virtualDevices)
        return;
    // The notice comes on the thread that plugged or unplugged; the path names the
    // interface in both the match and the enumeration.
    QPointer<DeviceChangeWiring> self(this);
    virtualDevices->setHotplugListener([self](const std::string& path, bool arrived) {
        ui::post([self, path = QString::fromStdString(path), arrived] {
            if (self)
                self->handleChange(path, path, arrived);
        });
    });
}

int DeviceChangeWiring::handleChange(const QString& interfaceText, const QString& enumerationPath,
                                     bool arrived) {
    const bool polling = hooks.idlePolling && hooks.idlePolling();
    const int task = catalog::matchDeviceChange(
        interfaceText, arrived, polling, catalog,
        [&enumerationPath](const QString&) { return usageOfPath(enumerationPath); },
        commandInterfacesOf);
    qCDebug(lcApp, "device %s: %s -> task %d", arrived ? "arrived" : "removed",
            qPrintable(interfaceText), task);
    if (task != catalog::kNoDeviceTask && hooks.queue)
        hooks.queue(task);
    return task;
}

} // namespace corvane::app
