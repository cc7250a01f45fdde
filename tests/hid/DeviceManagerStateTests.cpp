#include <gtest/gtest.h>

#include "ManagerFixture.h"

namespace corvane::hid::testing {
namespace {

using DeviceManagerState = ManagerFixture;

TEST_F(DeviceManagerState, AWirelessMouseThatGoesOfflineAfterBeingChosenStaysCurrent) {
    bus->addReceiver(receiverConfig(true));
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);
    HidDevice* chosen = manager->currentHandle();
    ASSERT_NE(chosen, nullptr);

    manager->setOnlineState(kType, kModeWireless, kOfflineByNotice);
    EXPECT_EQ(manager->currentHandle(), chosen);

    manager->selectType(kType);
    EXPECT_EQ(manager->currentHandle(), nullptr) << "choosing again sees it offline";
    manager->setOnlineState(kType, kModeWireless, kOnline);
    EXPECT_EQ(manager->currentHandle(), chosen);
}

TEST_F(DeviceManagerState, ConnectionKindIgnoresTheOnlineState) {
    bus->addReceiver(receiverConfig(true));
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);
    manager->setOnlineState(kType, kModeWireless, kOfflineByRefresh);
    EXPECT_EQ(manager->connectionKind(), 1);
    manager->selectType(kType + 1);
    EXPECT_EQ(manager->connectionKind(), -1);
}

TEST_F(DeviceManagerState, ListsOfTheCurrentType) {
    manager->addSupportedInterface(supported(0xC0B1, kModeWired, kType + 1, "CV02"));
    bus->addWiredMouse(wiredConfig("CV02", 0xC0B1));
    bus->addWiredMouse(wiredConfig());
    bus->addReceiver(receiverConfig(true)); // skipped: a wired device exists
    ASSERT_EQ(manager->rescan(), 3);

    std::vector<ConnectedDevice> list;
    manager->selectType(0);
    EXPECT_TRUE(manager->devicesOfCurrentType(list));
    EXPECT_EQ(list.size(), 3u);

    manager->selectType(kType);
    EXPECT_TRUE(manager->devicesOfCurrentType(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].productId, kWiredPid);

    manager->setOnlineState(kType, kModeWired, kOfflineByNotice);
    EXPECT_FALSE(manager->onlineDevicesOfCurrentType(list));
    EXPECT_TRUE(list.empty());

    manager->selectType(0);
    EXPECT_TRUE(manager->onlineDevicesOfCurrentType(list));
    EXPECT_EQ(list.size(), 2u);

    manager->selectType(55);
    EXPECT_FALSE(manager->devicesOfCurrentType(list));
}

TEST_F(DeviceManagerState, ReleaseOfModeNeedsACompletedScan) {
    vm::ReceiverConfig receiver = receiverConfig(true);
    receiver.releaseNumber = 0x0203;
    bus->addReceiver(receiver);
    int release = -1;
    EXPECT_EQ(manager->EnumerateDevice(), 1);
    EXPECT_FALSE(manager->releaseOfMode(kModeWireless, release));

    ASSERT_EQ(manager->rescan(), 1);
    EXPECT_TRUE(manager->releaseOfMode(kModeWireless, release));
    EXPECT_EQ(release, 0x0203);
    EXPECT_FALSE(manager->releaseOfMode(kModeWired, release));
}

TEST_F(DeviceManagerState, AnIdentifiedDeviceCountsWhileItIsReachable) {
    bus->addReceiver(receiverConfig(true));
    EXPECT_FALSE(manager->hasIdentifiedDevice(kType));
    ASSERT_EQ(manager->rescan(), 1);
    EXPECT_TRUE(manager->hasIdentifiedDevice(kType));
    EXPECT_FALSE(manager->hasIdentifiedDevice(kType + 1));
    manager->setOnlineState(kType, kModeWireless, kOfflineByNotice);
    EXPECT_FALSE(manager->hasIdentifiedDevice(kType));
    manager->setOnlineState(kType, kModeWireless, kOfflineByRefresh);
    EXPECT_TRUE(manager->hasIdentifiedDevice(kType)) << "state 2 is above 0";
}

TEST_F(DeviceManagerState, SupportedTableQueries) {
    EXPECT_TRUE(manager->isSupported(kVendor, kReceiverPid));
    EXPECT_FALSE(manager->isSupported(kVendor, 0xC0FF));
    EXPECT_EQ(manager->modeOf(kVendor, kReceiverPid), kModeWireless);
    EXPECT_EQ(manager->modeOf(kVendor, 0xC0FF), kModeWired);
    EXPECT_EQ(manager->supportedInterfaces().size(), 2u);
    manager->clearSupported();
    EXPECT_FALSE(manager->isSupported(kVendor, kReceiverPid));
}

TEST_F(DeviceManagerState, TheFirstBootloaderThatOpensIsTakenAndTheRestLeftAlone) {
    vm::BootloaderConfig loader;
    loader.productId = kWiredPid;
    auto first = bus->addBootloader(loader);
    auto second = bus->addBootloader(loader);
    auto wired = bus->addWiredMouse(wiredConfig());
    using vm::InterfaceKind;

    HidDevice* handle = manager->openBootloader(kVendor, kWiredPid);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(manager->bootloaderHandle(), handle);
    EXPECT_EQ(first->stats(InterfaceKind::Bootloader).opens, 1);
    EXPECT_EQ(second->stats(InterfaceKind::Bootloader).opens, 0);
    EXPECT_EQ(wired->stats(InterfaceKind::Command).opens, 0);

    first->failOpen(InterfaceKind::Bootloader);
    HidDevice* next = manager->openBootloader(kVendor, kWiredPid);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(first->stats(InterfaceKind::Bootloader).openHandles, 0) << "the old one was closed";
    EXPECT_EQ(second->stats(InterfaceKind::Bootloader).openHandles, 1);

    manager->closeBootloader();
    EXPECT_EQ(manager->bootloaderHandle(), nullptr);
    EXPECT_EQ(second->stats(InterfaceKind::Bootloader).openHandles, 0);
    EXPECT_EQ(manager->openBootloader(kVendor, 0xC0FF), nullptr);
}

class DeviceManagerInstance : public ::testing::Test {
protected:
    void TearDown() override { DeviceManager::installHidApi(nullptr); }
};

TEST_F(DeviceManagerInstance, IsCreatedOnFirstUseWithTheInstalledHidApi) {
    auto bus = std::make_shared<vm::VirtualMouse>();
    bus->addWiredMouse(wiredConfig());
    DeviceManager::installHidApi(bus);
    EXPECT_EQ(bus->initCalls(), 0);

    DeviceManager& first = DeviceManager::instance();
    EXPECT_EQ(&first, &DeviceManager::instance());
    EXPECT_EQ(bus->initCalls(), 1);
    first.addSupportedInterface(supported(kWiredPid, kModeWired, kType, "CV01"));
    EXPECT_EQ(first.rescan(), 1);

    DeviceManager::resetInstance();
    EXPECT_EQ(bus->exitCalls(), 1);
    DeviceManager& second = DeviceManager::instance();
    EXPECT_EQ(bus->initCalls(), 2);
    EXPECT_TRUE(second.devices().empty());
    EXPECT_TRUE(second.supportedInterfaces().empty());
}

} // namespace
} // namespace corvane::hid::testing
