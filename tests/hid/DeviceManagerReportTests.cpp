// Reports as hidraw carries them: each command interface's report descriptor decides
// the length and ID of every write, and which reports on the node are answers.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ManagerFixture.h"
#include "TraceCapture.h"

namespace corvane::hid::testing {
namespace {

using vm::CommandPlacement;
using vm::InterfaceKind;
using Buffer = std::array<std::uint8_t, kReportBufferSize>;

Buffer commandRequest(std::uint8_t code, std::uint8_t packet, std::uint8_t size,
                      std::uint8_t parameter) {
    Buffer buffer{};
    buffer[kRequestCommandIndex] = code;
    buffer[kRequestPacketIndex] = packet;
    buffer[kRequestSizeIndex] = size;
    buffer[kRequestFirstParameterIndex] = parameter;
    storeRequestChecksum(buffer.data());
    return buffer;
}

using DeviceManagerReports = ManagerFixture;

TEST_F(DeviceManagerReports, EveryWriteIsOneWholeOutputReportOfItsInterface) {
    struct Case {
        const char* what;
        vm::CommandCollection command;
        ReportLayout layout;
    };
    const Case cases[] = {
        {"64-byte reports", {}, {true, false, 0x00, 64, 0x00, 64}},
        {"32-byte reports", {0xFF01, 0x10, 32}, {true, false, 0x00, 32, 0x00, 32}},
        {"numbered reports on a node of their own",
         {0xFF01, 0x10, 64, 0x05},
         {true, true, 0x05, 64, 0x05, 64}},
        {"beside keyboard and media keys",
         {0xFF01, 0x10, 63, 0, CommandPlacement::WithKeyboard},
         {true, true, 0x03, 63, 0x03, 63}},
        {"beside the mouse, usage page 1",
         {0x0001, 0x0000, 32, 0x09, CommandPlacement::WithMouse},
         {true, true, 0x09, 32, 0x09, 32}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vm::WiredMouseConfig config = wiredConfig();
        config.command = c.command;
        auto mouse = bus->addWiredMouse(config);

        ASSERT_EQ(manager->rescan(), 1);
        const ConnectedDevice entry = manager->devices()[0];
        EXPECT_EQ(entry.deviceType, kType) << "GetInfo was answered";
        EXPECT_EQ(entry.reports, c.layout);
        EXPECT_EQ(manager->layoutOf(entry.hid), c.layout);

        // A read command is built as 33 bytes, some writes as 65.
        Buffer getDpi = commandRequest(0x13, 0x00, 0x00, 0x00);
        EXPECT_TRUE(manager->exchange(entry.hid, getDpi.data(), kShortReportLength));
        EXPECT_EQ(getDpi[0], 0x13) << "the answer, without its report ID";
        Buffer setRate = commandRequest(0x02, 0x01, 0x01, 0x04);
        EXPECT_TRUE(manager->exchange(entry.hid, setRate.data(), kLongReportLength));
        EXPECT_EQ(mouse->kept(0x02)->parameters[0], 0x04);

        const auto received = mouse->received(InterfaceKind::Command);
        ASSERT_EQ(received.size(), 3u); // GetInfo, GetDpi, SetReportRate
        for (const std::vector<std::uint8_t>& report : received) {
            EXPECT_EQ(report.size(), 1 + c.layout.outputLength);
            EXPECT_EQ(report[0], c.layout.outputId);
        }
        for (const vm::LoggedReport& logged : mouse->log()) {
            EXPECT_TRUE(logged.taken);
        }
        manager->closeAll();
        mouse->unplug();
    }
}

// The mouse collection shares the node: its movement reports, which would pass for an
// accepted answer or a notice once their ID is taken off, never are taken for either.
TEST_F(DeviceManagerReports, ACollectionSharingTheNodeNeverAnswersForTheCommandOne) {
    vm::WiredMouseConfig config = wiredConfig();
    config.command.placement = CommandPlacement::WithMouse;
    auto mouse = bus->addWiredMouse(config);
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);
    HidDevice* handle = manager->currentHandle();
    ASSERT_NE(handle, nullptr);
    const auto move = [&] {
        mouse->sendReport(InterfaceKind::Mouse, {0x00, 0x00, 0x00, 0x00});
        mouse->sendReport(InterfaceKind::Mouse, {0xC2, 0x00, 0x00, 0x00});
    };

    move();
    Buffer info{};
    ASSERT_TRUE(manager->readInfo(handle, info.data()));
    EXPECT_EQ(info[0], kGetInfoCommand);
    EXPECT_EQ(deviceIdFromInfo(info.data()), "CV01");
    EXPECT_EQ(manager->heldNotices().count(handle), 0u);

    move();
    Buffer notice{};
    int type = 0;
    PollOutcome outcome = PollOutcome::Delivered;
    EXPECT_FALSE(manager->pollNotification(notice.data(), type, &outcome));
    EXPECT_EQ(outcome, PollOutcome::Quiet);
    ASSERT_TRUE(mouse->pressDpiButton());
    move();
    ASSERT_TRUE(manager->pollNotification(notice.data(), type, &outcome, 5000));
    EXPECT_EQ(outcome, PollOutcome::Delivered);
    EXPECT_EQ(notice[0], 0xC2);
    EXPECT_EQ(notice[1], 0x24);
}

// Two mice that never answer cost seconds of GetInfo each; a stop must not wait for it.
TEST_F(DeviceManagerReports, AnInterruptedScanEndsAtOnceAndOwnsWhatItOpened) {
    auto first = bus->addWiredMouse(wiredConfig());
    auto second = bus->addWiredMouse(wiredConfig());
    first->dropNextAnswers(100);
    second->dropNextAnswers(100);

    // The stop comes while the first GetInfo waits for its answer; had the scan gone
    // on, the second mouse would have been asked too.
    std::thread stopper([&] {
        const auto hang = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (first->stats(InterfaceKind::Command).writes == 0 &&
               std::chrono::steady_clock::now() < hang)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        manager->setInterrupted(true);
    });
    EXPECT_EQ(manager->rescan(), 2);
    stopper.join();
    for (const ConnectedDevice& device : manager->devices()) {
        EXPECT_EQ(device.deviceType, 0);
    }
    EXPECT_EQ(second->stats(InterfaceKind::Command).writes, 0) << "nothing sent after the stop";

    Buffer buffer = commandRequest(0x13, 0, 0, 0);
    EXPECT_FALSE(manager->exchange(manager->devices()[0].hid, buffer.data(), kShortReportLength));
    EXPECT_EQ(first->stats(InterfaceKind::Command).writes, 1);

    manager->setInterrupted(false);
    manager.reset();
    EXPECT_EQ(first->stats(InterfaceKind::Command).openHandles, 0);
    EXPECT_EQ(second->stats(InterfaceKind::Command).openHandles, 0);
}

TEST(HeldNotices, DroppingOneKindKeepsTheOthersInOrder) {
    struct Handle final : HidDevice {
    } handle;
    HeldNotices held;
    for (std::uint8_t code : {0xC2, 0xC0, 0xC2}) {
        const std::uint8_t report[] = {code, 0x11};
        held.hold(&handle, report, sizeof report);
    }
    held.drop(&handle, kDpiNoticeCode);
    std::uint8_t buffer[65] = {};
    ASSERT_TRUE(held.take(&handle, buffer, sizeof buffer));
    EXPECT_EQ(buffer[0], kConnectionNoticeCode);
    EXPECT_FALSE(held.take(&handle, buffer, sizeof buffer));
}

} // namespace
} // namespace corvane::hid::testing
