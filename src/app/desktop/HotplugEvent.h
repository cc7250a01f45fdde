#pragma once

#include <QString>

#include <optional>

namespace corvane::app {

// One udev event as the hot-plug monitor reads it: the device's own properties and
// what its parents tell. Each returns null where udev gives nothing (on removal the
// parents are usually gone from sysfs already).
class UdevEvent {
public:
    virtual ~UdevEvent() = default;
    virtual const char* action() const = 0;          // ACTION: "add", "remove", "change", ...
    virtual const char* subsystem() const = 0;       // SUBSYSTEM: "hidraw"
    virtual const char* devPath() const = 0;         // DEVPATH
    virtual const char* devNode() const = 0;         // the node under /dev
    virtual const char* hidId() const = 0;           // HID_ID of the parent hid device
    virtual const char* interfaceNumber() const = 0; // bInterfaceNumber of the usb_interface
};

struct HotplugChange {
    QString interfaceText; // interfaceTextOf the event
    QString hidrawPath;    // the device node
    bool arrived = false;  // false: removed
};

// The change an event reports: a hidraw node that was added or removed and whose
// vendor and product are known. Nothing for any other action or subsystem, or for an
// event that names no ids.
std::optional<HotplugChange> readHotplugEvent(const UdevEvent& event);

} // namespace corvane::app
