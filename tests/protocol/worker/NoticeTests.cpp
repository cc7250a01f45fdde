// The mouse's own reports while the worker is idle: the DPI button, and the wireless
// mouse linking to and leaving its receiver.
#include <gtest/gtest.h>

#include "WorkerFixture.h"
#include "virtualmouse/Reports.h"

namespace corvane::protocol::testing {
namespace {

using Notices = WorkerTest;

// The wired mouse starts with four stages, the second active (read back into profile
// 1 at start); each press of its DPI button makes the next stage active.
TEST_F(Notices, TheDpiButtonMovesTheActiveStageInStoreAndPage) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    ASSERT_EQ(setting(1, "dpi_count"), 4);
    ASSERT_EQ(setting(1, "dpi_index"), 1);
    const std::size_t mark = host.count();

    ASSERT_TRUE(mouse->pressDpiButton()); // stage 2 of 4
    ASSERT_TRUE(host.waitFor("showActiveStage 2 1600 1", mark));
    EXPECT_EQ(setting(1, "dpi_index"), 2);
    EXPECT_EQ(host.shownSince(mark), std::vector<std::string>{"showActiveStage 2 1600 1"});
}

TEST_F(Notices, ADifferentStageCountIsStoredAndShownBeforeTheStage) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    store().setSetting(1, u"dpi_count", 6); // the page shows six stages
    const std::size_t mark = host.count();

    ASSERT_TRUE(mouse->pressDpiButton()); // the mouse says: stage 2 of 4
    ASSERT_TRUE(host.waitFor("showActiveStage 2 1600 1", mark));
    const std::vector<std::string> expected = {"showStageCount 4", "showActiveStage 2 1600 1"};
    EXPECT_EQ(host.shownSince(mark), expected);
    EXPECT_EQ(setting(1, "dpi_count"), 4);
    EXPECT_EQ(setting(1, "dpi_flag"), 4) << "read back at start, left alone since";
}

TEST_F(Notices, ANoticeEqualToWhatIsShownChangesNothing) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    store().setSetting(1, u"dpi_index", 2); // the page already moved to stage 2
    const std::size_t mark = host.count();

    ASSERT_TRUE(mouse->pressDpiButton()); // stage 2 of 4: what is shown
    ASSERT_TRUE(mouse->pressDpiButton()); // stage 3 of 4: a change
    ASSERT_TRUE(host.waitFor("showActiveStage 3 3200 1", mark));
    EXPECT_EQ(host.shownSince(mark), std::vector<std::string>{"showActiveStage 3 3200 1"})
        << "the first notice left no trace";
}

TEST_F(Notices, AnActiveStageBeyondTheCountIsShownAsStageZero) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    store().setSetting(1, u"dpi_index", 5); // at or above the count: the page shows stage 0
    vm::MouseSettings::Kept dpi = *mouse->kept(0x03);
    dpi.parameters[0] = (3 << 4) | 4; // the next press wraps round to stage 0
    mouse->setKept(0x03, dpi);
    const std::size_t mark = host.count();

    ASSERT_TRUE(mouse->pressDpiButton()); // stage 0 of 4: what is shown
    ASSERT_TRUE(mouse->pressDpiButton()); // stage 1 of 4
    ASSERT_TRUE(host.waitFor("showActiveStage 1 800 1", mark));
    EXPECT_EQ(host.shownSince(mark), std::vector<std::string>{"showActiveStage 1 800 1"});
    EXPECT_EQ(setting(1, "dpi_index"), 1);
}

TEST_F(Notices, AGarbledDpiNoticeIsIgnored) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    const std::size_t mark = host.count();
    vm::MouseSettings::Kept dpi = *mouse->kept(0x03);
    for (const std::uint8_t garbled : {std::uint8_t{0x0F}, std::uint8_t{0x30}}) {
        dpi.parameters[0] = garbled; // the next press says: 15 stages / none
        mouse->setKept(0x03, dpi);
        ASSERT_TRUE(mouse->pressDpiButton());
    }
    // Stage 6 of 4 active (the button itself always wraps round within its stages).
    mouse->sendReport(vm::InterfaceKind::Command, {vm::kDpiNotice, (5 << 4) | 4});
    dpi.parameters[0] = (1 << 4) | 4;
    mouse->setKept(0x03, dpi);
    ASSERT_TRUE(mouse->pressDpiButton()); // stage 2 of 4: the first notice that counts
    ASSERT_TRUE(host.waitFor("showActiveStage 2 1600 1", mark));
    EXPECT_EQ(host.shownSince(mark), std::vector<std::string>{"showActiveStage 2 1600 1"});
    EXPECT_EQ(setting(1, "dpi_count"), 4);
    EXPECT_EQ(setting(1, "dpi_index"), 2);
}

TEST_F(Notices, UnlinkAndLinkFollowTheReceiver) {
    auto receiver = attachM1Receiver();
    startWorker();
    run({DeviceTask::DeviceStart});
    receiver->clearLog();
    std::size_t mark = host.count();

    receiver->unlink(); // C0 00 00 00: no battery information
    ASSERT_TRUE(host.waitFor("showNoDeviceView", mark));
    const std::vector<std::string> unlinked = {
        "closePopups",           "showConnectionText 50", "setDeviceState 1 1 0",
        "macroRecorderUnlinked", "showNoDeviceView",
    };
    EXPECT_EQ(host.shownSince(mark), unlinked) << "battery untouched";
    EXPECT_FALSE(worker->state().connectionShown());
    EXPECT_EQ(worker->state().batteryLevel(), 80) << "from the start, kept";
    EXPECT_EQ(manager().devices().front().onlineState, hid::kOfflineByNotice);

    mark = host.count();
    receiver->link(); // C0 01 80 01
    ASSERT_TRUE(host.waitFor("showVersion 258 105", mark));
    ASSERT_TRUE(host.waitFor("showBattery 1 80 1", mark + 9));
    const std::vector<std::string> linked = {
        "closePopups",
        "showConnectionText 52",
        "setDeviceState 1 1 1",
        "showConfigurationPages",
        "refreshPages buttons macros performance lighting",
        "showBattery 1 80 1",
        "showBattery 1 80 1",
        "refreshPages buttons macros performance lighting",
        "showVersion 258 105",
        "showBattery 1 80 1",
    };
    EXPECT_EQ(host.shownSince(mark), linked);
    EXPECT_TRUE(worker->state().connectionShown());
    EXPECT_EQ(manager().devices().front().onlineState, hid::kOnline);
    EXPECT_EQ(commandCodes(*receiver), Codes{0x10}) << "one GetInfo, nothing read again";
}

TEST_F(Notices, ABatteryLevelInANoticeUpdatesTheBattery) {
    auto receiver = attachM1Receiver();
    startWorker();
    run({DeviceTask::DeviceStart});
    const std::size_t mark = host.count();

    receiver->sendConnectionNotice(0x00, 35, 2); // going away, with its battery state
    ASSERT_TRUE(host.waitFor("showBattery 1 35 2", mark));
    EXPECT_EQ(worker->state().batteryLevel(), 35);
    EXPECT_EQ(worker->state().batteryStatus(), 2);
    EXPECT_EQ(worker->state().connected(), 0);
}

TEST_F(Notices, NoNoticeIsReadBeforeADeviceWasFound) {
    startWorker();
    run({DeviceTask::DeviceStart});
    auto mouse = attachM1Wired(); // arrives, but no task was queued for it
    ASSERT_TRUE(mouse->pressDpiButton());
    settleAfterATask();
    EXPECT_EQ(mouse->stats(vm::InterfaceKind::Command).reads, 0);
    EXPECT_EQ(mouse->stats(vm::InterfaceKind::Command).opens, 0);
}

// A worker run for one command (corvanectl's) reads no notices between its tasks.
TEST_F(Notices, AWorkerToldNotToPollReadsNothingBetweenTasks) {
    auto mouse = attachM1Wired();
    WorkerConfig quiet = config();
    quiet.pollNotices = false;
    startWorker(std::move(quiet));
    run({DeviceTask::DeviceStart});
    EXPECT_FALSE(worker->state().idlePolling());
    const int reads = mouse->stats(vm::InterfaceKind::Command).reads;
    ASSERT_TRUE(mouse->pressDpiButton());
    settleAfterATask();
    EXPECT_EQ(mouse->stats(vm::InterfaceKind::Command).reads, reads);
    EXPECT_EQ(setting(1, "dpi_index"), 1) << "the button's notice was not taken";
}

} // namespace
} // namespace corvane::protocol::testing
