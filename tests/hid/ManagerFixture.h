#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "hid/DeviceManager.h"
#include "virtualmouse/VirtualMouse.h"

namespace corvane::hid::testing {

inline constexpr int kVendor = 0x1209;
inline constexpr int kWiredPid = 0xC0A1;
inline constexpr int kReceiverPid = 0xC0A2;
inline constexpr int kType = 7;

inline SupportedInterface supported(int productId, int mode, int deviceType,
                                    const QString& deviceId) {
    SupportedInterface entry;
    entry.vendorId = kVendor;
    entry.productId = productId;
    entry.deviceType = deviceType;
    entry.mode = mode;
    entry.deviceId = deviceId;
    return entry;
}

inline vm::WiredMouseConfig wiredConfig(const std::string& deviceId = "CV01",
                                        int productId = kWiredPid) {
    vm::WiredMouseConfig config;
    config.productId = static_cast<std::uint16_t>(productId);
    config.mouse.deviceId = deviceId;
    return config;
}

inline vm::ReceiverConfig receiverConfig(bool linked, const std::string& deviceId = "CV01") {
    vm::ReceiverConfig config;
    config.productId = kReceiverPid;
    config.mouse.deviceId = deviceId;
    config.linked = linked;
    return config;
}

// Waits until `condition` holds; the limit only catches a hang.
inline bool eventually(const std::function<bool()>& condition) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A virtual bus and a manager over it whose table knows the wired mouse and the
// receiver of device type kType.
class ManagerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        bus = std::make_shared<vm::VirtualMouse>();
        manager = std::make_unique<DeviceManager>(bus);
        manager->addSupportedInterface(supported(kWiredPid, kModeWired, kType, "CV01"));
        manager->addSupportedInterface(supported(kReceiverPid, kModeWireless, kType, "CV01"));
    }

    // The first listed device with this product id.
    ConnectedDevice listed(int productId) const {
        for (const ConnectedDevice& device : manager->devices()) {
            if (device.productId == productId) {
                return device;
            }
        }
        ADD_FAILURE() << "no device with product id " << productId;
        return {};
    }

    std::shared_ptr<vm::VirtualMouse> bus;
    std::unique_ptr<DeviceManager> manager;
};

} // namespace corvane::hid::testing
