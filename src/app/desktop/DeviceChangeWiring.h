#pragma once

#include "catalog/DeviceCatalog.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace corvane::vm {
class VirtualMouse;
}

namespace corvane::app {

class HotplugMonitor;

// Turns device-interface arrivals and removals into device tasks: each change is
// matched against the catalog (an arrival qualifies when the HID enumeration entry with
// that path is a command interface; a removal counts for an interface that carried a
// command collection, and only while the worker polls), and the task it gives is
// queued. Changes come from the udev monitor or, when the virtual
// devices stand in for the hardware, from their hot-plug notices; both are handled on
// the UI thread.
class DeviceChangeWiring : public QObject {
public:
    struct Hooks {
        std::function<bool()> idlePolling;   // the worker polls (a device was found)
        std::function<void(int task)> queue; // queues a device task
    };

    DeviceChangeWiring(const catalog::DeviceCatalog& catalog, Hooks hooks,
                       QObject* parent = nullptr);
    ~DeviceChangeWiring() override;

    // Listens to udev for hidraw changes; false when udev is unavailable.
    bool watchSystem();
    // Listens to the virtual devices' notices (from any thread) until destroyed.
    void watchVirtual(std::shared_ptr<vm::VirtualMouse> devices);

    // One change: `interfaceText` is matched against the catalog, `enumerationPath` names
    // the interface in the HID enumeration. Returns the task queued (0: none).
    int handleChange(const QString& interfaceText, const QString& enumerationPath, bool arrived);

private:
    const catalog::DeviceCatalog& catalog;
    Hooks hooks;
    HotplugMonitor* monitor = nullptr;
    std::shared_ptr<vm::VirtualMouse> virtualDevices;
};

} // namespace corvane::app
