#pragma once

#include <memory>

namespace corvane::vm {

class Receiver;
class VirtualMouse;
class WiredMouse;

// The virtual hardware of "--virtual-mouse" (the window's and corvanectl's), with the
// ids of the installed config.xml: device type 1 ("CVM1") on its cable (0x1209:0xC0A1) and through
// its receiver (0x1209:0xC0A2) with the wireless mouse linked, and device type 201 ("CVM2") on its
// cable (0x1209:0xC0B1). A third model ("CVM3", on its cable as 0x1209:0xC0C1) speaks the same
// commands but has no installed device file: it is what a user's own mouse looks like
// until a device file in the user's folder describes it.
struct VirtualDeviceSet {
    std::shared_ptr<VirtualMouse> bus;
    std::shared_ptr<WiredMouse> wired;
    std::shared_ptr<Receiver> receiver;
    std::shared_ptr<WiredMouse> secondWired;
    std::shared_ptr<WiredMouse> thirdWired;
};

VirtualDeviceSet makeVirtualDevices();

// Makes the virtual devices the HID library of the process-wide device manager. When
// CORVANE_VIRTUAL_MOUSE_LOG names a file, every report written to them is logged there
// (see ReportLog.h).
void installVirtualDevices(const VirtualDeviceSet& devices);

} // namespace corvane::vm
