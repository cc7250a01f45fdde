#include "app/desktop/HotplugMonitor.h"

#include "app/desktop/HotplugEvent.h"
#include "app/start/AppLog.h"

#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>

namespace corvane::app {

namespace {

// A device received from the monitor, read through libudev. The parents are owned by
// the device.
class LibudevEvent final : public UdevEvent {
public:
    explicit LibudevEvent(udev_device* device) : device(device) {}

    const char* action() const override { return udev_device_get_action(device); }
    const char* subsystem() const override { return udev_device_get_subsystem(device); }
    const char* devPath() const override { return udev_device_get_devpath(device); }
    const char* devNode() const override { return udev_device_get_devnode(device); }
    const char* hidId() const override {
        udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
        return hid ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
    }
    const char* interfaceNumber() const override {
        udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface");
        return usb ? udev_device_get_sysattr_value(usb, "bInterfaceNumber") : nullptr;
    }

private:
    udev_device* device;
};

} // namespace

const char* udevEventSource(bool udevDaemonRuns) {
    return udevDaemonRuns ? "udev" : "kernel";
}

HotplugMonitor::HotplugMonitor(QObject* parent) : QObject(parent) {
    context = udev_new();
    if (!context) {
        qCInfo(lcApp, "udev is unavailable; no hot-plug notices");
        return;
    }
    const char* source = udevEventSource(QFileInfo(QStringLiteral("/run/udev")).isDir());
    monitor = udev_monitor_new_from_netlink(context, source);
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        qCInfo(lcApp, "cannot listen to %s device events; no hot-plug notices", source);
        release();
        return;
    }
    const int fd = udev_monitor_get_fd(monitor);
    if (fd < 0) {
        release();
        return;
    }
    notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &HotplugMonitor::readEvent);
}

HotplugMonitor::~HotplugMonitor() {
    release();
}

void HotplugMonitor::release() {
    delete notifier;
    notifier = nullptr;
    if (monitor)
        udev_monitor_unref(monitor);
    monitor = nullptr;
    if (context)
        udev_unref(context);
    context = nullptr;
}

void HotplugMonitor::readEvent() {
    udev_device* device = udev_monitor_receive_device(monitor);
    if (!device)
        return;
    const std::optional<HotplugChange> change = readHotplugEvent(LibudevEvent(device));
    udev_device_unref(device);
    if (change)
        emit deviceChanged(change->interfaceText, change->hidrawPath, change->arrived);
}

} // namespace corvane::app
