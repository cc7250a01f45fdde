#include "virtualmouse/ProgramDemo.h"

#include "hid/DeviceManager.h"
#include "virtualmouse/VirtualMouse.h"

namespace corvane::vm {

namespace {
constexpr std::uint16_t kVendor = 0x1209;
constexpr std::uint16_t kFirstWired = 0xC0A1;
constexpr std::uint16_t kFirstReceiver = 0xC0A2;
constexpr std::uint16_t kSecondWired = 0xC0B1;
constexpr std::uint16_t kThirdWired = 0xC0C1;
} // namespace

VirtualDeviceSet makeVirtualDevices() {
    DemoIds ids;
    ids.vendorId = kVendor;
    ids.wiredProductId = kFirstWired;
    ids.receiverProductId = kFirstReceiver;
    ids.deviceId = "CVM1";
    ids.wirelessDeviceId = "CVM1";
    DemoSet demo = makeDemoSet(ids);

    WiredMouseConfig second;
    second.vendorId = kVendor;
    second.productId = kSecondWired;
    second.releaseNumber = 0x0110;
    second.mouse.deviceId = "CVM2";

    WiredMouseConfig third;
    third.vendorId = kVendor;
    third.productId = kThirdWired;
    third.releaseNumber = 0x0120;
    third.mouse.deviceId = "CVM3";

    VirtualDeviceSet set;
    set.bus = demo.bus;
    set.wired = demo.wired;
    set.receiver = demo.receiver;
    set.secondWired = demo.bus->addWiredMouse(second);
    set.thirdWired = demo.bus->addWiredMouse(third);
    return set;
}

void installVirtualDevices(const VirtualDeviceSet& devices) {
    hid::DeviceManager::installHidApi(devices.bus);
}

} // namespace corvane::vm
