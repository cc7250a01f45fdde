#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "hid/DeviceManager.h"
#include "virtualmouse/VirtualMouse.h"

namespace corvane::protocol::testing {

inline constexpr int kType = 7;

// The process-wide device manager over a virtual bus, with one device current.
class ProtocolFixture : public ::testing::Test {
protected:
    void TearDown() override { hid::DeviceManager::installHidApi(nullptr); }

    hid::DeviceManager& manager() { return hid::DeviceManager::instance(); }

    // Installs the bus, scans and makes kType current; the device's log starts empty.
    // These tests count the reads a transaction makes and the faults the virtual mouse
    // gives at a read, so the exchange reads the handle itself here; the path through
    // the interface readers is covered by the hid and worker tests.
    void start(bool scan = true) {
        hid::DeviceManager::installHidApi(bus);
        manager().setBackgroundReading(false);
        for (auto [pid, mode] :
             {std::pair{0xC0A1, hid::kModeWired}, {0xC0A2, hid::kModeWireless}}) {
            hid::SupportedInterface entry;
            entry.vendorId = 0x1209;
            entry.productId = pid;
            entry.deviceType = kType;
            entry.mode = mode;
            entry.deviceId = "CV01";
            manager().addSupportedInterface(entry);
        }
        if (scan) {
            manager().rescan();
            manager().selectType(kType);
        }
        for (vm::VirtualDevice* device : attached) {
            device->clearLog();
        }
    }

    std::shared_ptr<vm::WiredMouse> attachWired() {
        auto device = bus->addWiredMouse();
        attached.push_back(device.get());
        return device;
    }
    std::shared_ptr<vm::Receiver> attachReceiver() {
        auto device = bus->addReceiver();
        attached.push_back(device.get());
        return device;
    }

    std::shared_ptr<vm::VirtualMouse> bus = std::make_shared<vm::VirtualMouse>();
    std::vector<vm::VirtualDevice*> attached;
};

} // namespace corvane::protocol::testing
