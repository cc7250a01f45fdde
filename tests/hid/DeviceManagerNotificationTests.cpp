#include <gtest/gtest.h>

#include <array>

#include "ManagerFixture.h"

namespace corvane::hid::testing {
namespace {

using vm::InterfaceKind;
using Buffer = std::array<std::uint8_t, 65>;
// A poll that expects a notice waits for the reader to hold it; the limit only catches
// a hang.
constexpr int kWaitMs = 5000;

int getInfoRequests(const vm::VirtualDevice& device) {
    int count = 0;
    for (const auto& report : device.received()) {
        count += report[1] == kGetInfoCommand ? 1 : 0;
    }
    return count;
}

using DeviceManagerPoll = ManagerFixture;

TEST_F(DeviceManagerPoll, NothingIsReadBeforeTheFirstScan) {
    auto wired = bus->addWiredMouse(wiredConfig());
    Buffer buffer{};
    int type = -1;
    EXPECT_FALSE(manager->pollNotification(buffer.data(), type));
    EXPECT_EQ(wired->stats(InterfaceKind::Command).reads, 0);
}

TEST_F(DeviceManagerPoll, TheCurrentInterfaceDeliversTheDpiNotice) {
    auto wired = bus->addWiredMouse(wiredConfig());
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);

    Buffer buffer{};
    int type = -1;
    EXPECT_FALSE(manager->pollNotification(buffer.data(), type)) << "nothing to read yet";
    EXPECT_EQ(type, kType);

    ASSERT_TRUE(wired->pressDpiButton()); // factory state: four stages, stage 1 active
    EXPECT_TRUE(manager->pollNotification(buffer.data(), type, nullptr, kWaitMs));
    EXPECT_EQ(buffer[0], 0xC2);
    EXPECT_EQ(buffer[1], 0x24);
}

TEST_F(DeviceManagerPoll, ADpiPressDuringACommandReachesTheNextPoll) {
    auto wired = bus->addWiredMouse(wiredConfig());
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);
    HidDevice* handle = manager->currentHandle();
    ASSERT_NE(handle, nullptr);

    // The press is queued ahead of the answer to the next command.
    ASSERT_TRUE(wired->pressDpiButton());
    std::array<std::uint8_t, kReportBufferSize> info{};
    ASSERT_TRUE(manager->readInfo(handle, info.data()));
    EXPECT_EQ(info[1], kStatusAccepted);
    EXPECT_NE(info[0], 0xC2) << "the notice was taken for the answer";

    Buffer buffer{};
    int type = -1;
    ASSERT_TRUE(manager->pollNotification(buffer.data(), type, nullptr, kWaitMs));
    EXPECT_EQ(buffer[0], 0xC2);
    EXPECT_EQ(buffer[1], 0x24);
}

TEST_F(DeviceManagerPoll, ALinkNoticeOnTheCurrentReceiverIsHandedOver) {
    auto receiver = bus->addReceiver(receiverConfig(false));
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);
    ASSERT_NE(manager->currentHandle(), nullptr) << "listed online after the scan";

    receiver->link();
    Buffer buffer{};
    int type = -1;
    EXPECT_TRUE(manager->pollNotification(buffer.data(), type, nullptr, kWaitMs));
    EXPECT_EQ((std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 4)),
              (std::vector<std::uint8_t>{0xC0, 0x01, 80, 1}));
}

TEST_F(DeviceManagerPoll, AnUnlinkNoticeOnANonCurrentReceiverTakesItOffline) {
    auto receiver = bus->addReceiver(receiverConfig(true));
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType + 1); // no interface of this type: the receivers are polled

    receiver->unlink();
    Buffer buffer{};
    int type = -1;
    EXPECT_FALSE(manager->pollNotification(buffer.data(), type, nullptr, kWaitMs));
    EXPECT_EQ(type, kType);
    EXPECT_EQ(buffer[0], 0xC0);
    EXPECT_EQ(buffer[1], 0x00);
    EXPECT_EQ(manager->devices()[0].onlineState, kOfflineByNotice);
    EXPECT_EQ(getInfoRequests(*receiver), 1) << "only the scan asked";
}

TEST_F(DeviceManagerPoll, ALinkNoticeOnANonCurrentReceiverReadsTheMouseAgain) {
    vm::ReceiverConfig config = receiverConfig(false);
    auto receiver = bus->addReceiver(config);
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);
    manager->setOnlineState(kType, kModeWireless, kOfflineByNotice);
    ASSERT_EQ(manager->currentHandle(), nullptr);

    receiver->setBattery(1, 55);
    receiver->link();
    Buffer buffer{};
    int type = -1;
    EXPECT_FALSE(manager->pollNotification(buffer.data(), type, nullptr, kWaitMs));
    EXPECT_EQ(type, kType);
    EXPECT_EQ(buffer[0], 0xC0);
    EXPECT_EQ(buffer[1], 0x01);
    EXPECT_EQ(buffer[2], 55);

    const ConnectedDevice entry = manager->devices()[0];
    EXPECT_EQ(entry.onlineState, kOnline);
    EXPECT_EQ(entry.info[14], 1) << "the new GetInfo answer is kept";
    EXPECT_EQ(entry.info[13], 55);
    EXPECT_EQ(getInfoRequests(*receiver), 2);
    EXPECT_NE(manager->currentHandle(), nullptr);
}

TEST_F(DeviceManagerPoll, AMouseIdentifiedWhenItLinksIsNamedByItsNewType) {
    auto receiver = bus->addReceiver(receiverConfig(false));
    receiver->failNextWrites(2); // GetInfo fails twice during the scan
    ASSERT_EQ(manager->rescan(), 1);
    ASSERT_EQ(manager->devices()[0].deviceType, 0);
    manager->selectType(kType);

    receiver->link();
    Buffer buffer{};
    int type = -1;
    EXPECT_FALSE(manager->pollNotification(buffer.data(), type, nullptr, kWaitMs));
    EXPECT_EQ(type, kType);
    EXPECT_EQ(manager->devices()[0].deviceIdText, "CV01");
}

TEST_F(DeviceManagerPoll, OtherReportsOnANonCurrentReceiverAreHandedOverUntouched) {
    auto receiver = bus->addReceiver(receiverConfig(true));
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType + 1);

    ASSERT_TRUE(receiver->pressDpiButton());
    Buffer buffer{};
    int type = -1;
    EXPECT_FALSE(manager->pollNotification(buffer.data(), type, nullptr, kWaitMs));
    EXPECT_EQ(buffer[0], 0xC2);
    EXPECT_EQ(manager->devices()[0].onlineState, kOnline);
}

TEST_F(DeviceManagerPoll, RefreshingWirelessStateReadsConnectionNotices) {
    auto receiver = bus->addReceiver(receiverConfig(true));
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);

    HidDevice* handle = manager->devices()[0].hid;
    const auto held = [&] { return manager->heldNotices().count(handle) > 0; };
    receiver->unlink();
    ASSERT_TRUE(eventually(held));
    manager->refreshWirelessState();
    EXPECT_EQ(manager->devices()[0].onlineState, kOfflineByRefresh);

    receiver->link();
    ASSERT_TRUE(eventually(held));
    manager->refreshWirelessState();
    EXPECT_EQ(manager->devices()[0].onlineState, kOnline);

    manager->refreshWirelessState(); // nothing waiting: nothing changes
    EXPECT_EQ(manager->devices()[0].onlineState, kOnline);
}

} // namespace
} // namespace corvane::hid::testing
