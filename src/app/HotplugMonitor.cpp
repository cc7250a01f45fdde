#include "app/HotplugMonitor.h"

#include "app/AppLog.h"
#include "app/InterfaceText.h"

#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>

#include <cstring>

namespace corvane::app {

namespace {

QString text(const char* value) {
    return value ? QString::fromUtf8(value) : QString();
}

HidrawEvent eventOf(udev_device* device) {
    HidrawEvent event;
    event.devPath = text(udev_device_get_devpath(device));
    event.devNode = text(udev_device_get_devnode(device));
    // The parents are owned by the device; on removal they are usually gone from sysfs
    // and the text then comes from the device path alone.
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr))
        event.hidId = text(udev_device_get_property_value(hid, "HID_ID"));
    if (udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface"))
        event.interfaceNumber = text(udev_device_get_sysattr_value(usb, "bInterfaceNumber"));
    return event;
}

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
    const char* action = udev_device_get_action(device);
    const bool arrived = action && std::strcmp(action, "add") == 0;
    const bool removed = action && std::strcmp(action, "remove") == 0;
    if (arrived || removed) {
        const HidrawEvent event = eventOf(device);
        const QString interfaceText = interfaceTextOf(event);
        if (!interfaceText.isEmpty())
            emit deviceChanged(interfaceText, event.devNode, arrived);
    }
    udev_device_unref(device);
}

} // namespace corvane::app
