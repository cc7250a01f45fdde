#pragma once

#include <QString>

namespace corvane::app {

// What a udev event tells about one hidraw device node.
struct HidrawEvent {
    // DEVPATH of the hidraw device, e.g.
    // /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.2/0003:1209:0001.0005/hidraw/hidraw3
    QString devPath;
    // HID_ID of the parent hid device, "BUS:VVVVVVVV:PPPPPPPP" in hexadecimal; empty when
    // the parent could not be read (on removal it is usually gone already).
    QString hidId;
    // bInterfaceNumber of the USB interface above it, two hexadecimal digits; empty
    // when unknown.
    QString interfaceNumber;
    // The device node, e.g. /dev/hidraw3; names the interface in the text.
    QString devNode;
};

// The interface text the device-change matching works on, in the form
// "HID#VID_1209&PID_0001&MI_02#hidraw3": vendor and product as four upper-case
// hexadecimal digits, "&MI_nn" only for a USB interface whose number is known (from
// bInterfaceNumber, else from the USB interface folder in devPath). Without HID_ID the
// ids come from the hid device folder in devPath ("0003:1209:0001.0005"). Empty when
// neither gives the ids.
QString interfaceTextOf(const HidrawEvent& event);

} // namespace corvane::app
