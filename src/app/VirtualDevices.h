#pragma once

#include <memory>

namespace corvane::vm {
class Receiver;
class VirtualMouse;
class WiredMouse;
} // namespace corvane::vm

namespace corvane::app {

// The virtual hardware of "--virtual-mouse", with the ids of the installed config.xml:
// device type 1 ("CVM1") on its cable (0x1209:0xC0A1) and through its receiver
// (0x1209:0xC0A2) with the wireless mouse linked, and device type 201 ("CVM2") on its
// cable (0x1209:0xC0B1).
struct VirtualDeviceSet {
    std::shared_ptr<vm::VirtualMouse> bus;
    std::shared_ptr<vm::WiredMouse> wired;
    std::shared_ptr<vm::Receiver> receiver;
    std::shared_ptr<vm::WiredMouse> secondWired;
};

VirtualDeviceSet makeVirtualDevices();

// Makes the virtual devices the HID library of the process-wide device manager.
void installVirtualDevices(const VirtualDeviceSet& devices);

} // namespace corvane::app
