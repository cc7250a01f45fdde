// The tasks that send settings: the push of a whole profile, the single commands,
// the button task with its macro download, and what a refused command leads to.
#include <gtest/gtest.h>

#include <array>

#include "WorkerFixture.h"

namespace corvane::protocol::testing {
namespace {

using namespace std::chrono_literals;
using CommandTasks = WorkerTest;

const std::array<bool, 6> kEveryLightMode = {true, true, true, true, true, true};

TEST_F(CommandTasks, PushSendsEveryGroupInOrder) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    store().createDefaultLights(1, kEveryLightMode); // as the lighting page does
    store().setSetting(1, u"report_rate", 2);        // as the performance page does
    mouse->clearLog();
    const std::size_t mark = host.count();

    run({DeviceTask::PushProfile});
    const Codes expected = {0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07};
    EXPECT_EQ(commandCodes(*mouse), expected);
    EXPECT_EQ(host.shownSince(mark),
              std::vector<std::string>{"refreshPages buttons performance lighting"});
    EXPECT_EQ(mouse->kept(0x02)->parameters[0], 2) << "the profile's report rate, 500 Hz";
}

TEST_F(CommandTasks, PushWithoutLightingOrWithoutALightRecordSkipsSetLighting) {
    auto m2 = attachM2();
    startWorker();
    run({DeviceTask::DeviceStart});
    m2->clearLog();
    const std::size_t mark = host.count();

    run({DeviceTask::PushProfile});
    const Codes expected = {0x09, 0x03, 0x04, 0x02, 0x06, 0x07};
    EXPECT_EQ(commandCodes(*m2), expected);
    EXPECT_EQ(host.shownSince(mark), std::vector<std::string>{"refreshPages buttons performance"});
}

TEST_F(CommandTasks, ARefusedCommandDoesNotStopThePush) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    store().createDefaultLights(1, kEveryLightMode);
    mouse->clearLog();
    const std::size_t mark = host.count();

    mouse->failNextWrites(2); // SetButtons and SetLighting never reach the mouse
    run({DeviceTask::PushProfile});
    const Codes expected = {0x03, 0x04, 0x02, 0x06, 0x07};
    EXPECT_EQ(commandCodes(*mouse), expected);
    EXPECT_EQ(host.shownSince(mark).size(), 1u) << "over a cable a failure shows nothing";
}

TEST_F(CommandTasks, EachSettingTaskSendsItsCommand) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    store().createDefaultLights(1, kEveryLightMode);
    mouse->clearLog();

    run({DeviceTask::SendButtons, DeviceTask::SendLighting, DeviceTask::SendDpi,
         DeviceTask::SendDpiColors, DeviceTask::SendReportRate, DeviceTask::SendSensor,
         DeviceTask::SendPower});
    const Codes expected = {0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07};
    EXPECT_EQ(commandCodes(*mouse), expected);
}

TEST_F(CommandTasks, TheSameCodeQueuedTwiceRunsTwice) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    mouse->clearLog();

    run({DeviceTask::SendDpi, DeviceTask::SendDpi});
    EXPECT_EQ(commandCodes(*mouse), (Codes{0x03, 0x03}));
}

TEST_F(CommandTasks, UnknownCodesAreTakenAndIgnored) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    mouse->clearLog();
    const std::size_t mark = host.count();

    run({0, -1, 7, 99, 21, 25, 29, DeviceTask::SendPower});
    EXPECT_EQ(commandCodes(*mouse), Codes{0x07}) << "only the known task after them";
    EXPECT_EQ(worker->queuedTasks(), 0u);
    EXPECT_TRUE(host.shownSince(mark).empty());
}

// A macro of `keys` key presses (down and up of A) bound to `button` of profile 1.
int bindMacro(store::ProfileDatabase& db, int button, int keys) {
    const int macro = db.createMacro(QStringLiteral("copy"));
    std::vector<store::MacroEvent> events;
    for (int i = 0; i < 2 * keys; ++i) {
        store::MacroEvent event;
        event.macroId = macro;
        event.type = i % 2 == 0 ? 2 : 3; // key down, key up
        event.value = 65;
        event.index = i;
        events.push_back(event);
    }
    db.insertMacroEvents(events);
    store::ButtonBinding binding;
    binding.profile = 1;
    binding.keyCode = button;
    binding.macroType = 4; // the button plays a macro
    binding.macroValue = macro;
    db.saveBinding(binding);
    return macro;
}

TEST_F(CommandTasks, APendingMacroGoesOutBeforeTheButtons) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    ASSERT_NE(bindMacro(store(), 3, 1), 0);
    mouse->clearLog();

    worker->state().requestMacroDownload(3);
    run({DeviceTask::SendButtons});
    EXPECT_EQ(commandCodes(*mouse), (Codes{0x08, 0x09}));
    EXPECT_EQ(mouse->macro(3).size(), 1u + 2 * 4) << "button index and two records";
    EXPECT_FALSE(worker->state().macroRequest().pending());

    mouse->clearLog();
    run({DeviceTask::SendButtons});
    EXPECT_EQ(commandCodes(*mouse), Codes{0x09}) << "the download was done";
}

TEST_F(CommandTasks, EveryButtonAskedForBeforeTheTaskRunsGetsItsMacro) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    bindMacro(store(), 3, 1);
    bindMacro(store(), 4, 2);
    mouse->clearLog();

    // Two assignments in a row, one task 6 taking both.
    worker->state().requestMacroDownload(3);
    worker->state().requestMacroDownload(4);
    run({DeviceTask::SendButtons});
    EXPECT_EQ(commandCodes(*mouse), (Codes{0x08, 0x08, 0x09}));
    EXPECT_EQ(mouse->macro(3).size(), 1u + 2 * 4);
    EXPECT_EQ(mouse->macro(4).size(), 1u + 4 * 4);
}

TEST_F(CommandTasks, ThePushSendsTheMacroOfEveryBoundButton) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    bindMacro(store(), 3, 1);
    bindMacro(store(), 4, 2);
    mouse->clearLog();

    run({DeviceTask::PushProfile});
    EXPECT_EQ(mouse->macro(3).size(), 1u + 2 * 4);
    EXPECT_EQ(mouse->macro(4).size(), 1u + 4 * 4);
}

TEST_F(CommandTasks, AMacroRequestWithoutAButtonSendsNoMacro) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    mouse->clearLog();

    worker->state().requestMacroDownload(-1);
    EXPECT_FALSE(worker->state().macroRequest().pending());
    run({DeviceTask::SendButtons});
    EXPECT_EQ(commandCodes(*mouse), Codes{0x09});
}

TEST_F(CommandTasks, ARefusedCommandOverTheReceiverKeepsItShownOnline) {
    auto receiver = attachM1Receiver();
    startWorker();
    run({DeviceTask::DeviceStart});
    const std::size_t mark = host.count();

    receiver->failNextWrites(1);
    run({DeviceTask::SendDpi});
    const std::vector<std::string> whileShown = {"closePopups", "setDeviceState 1 1 1"};
    EXPECT_EQ(host.shownSince(mark), whileShown);

    // After the mouse went away the connected state is shown again.
    receiver->unlink();
    ASSERT_TRUE(host.waitFor("showConnectionText 50", mark));
    ASSERT_TRUE(host.waitFor("showNoDeviceView", mark));
    ASSERT_FALSE(worker->state().connectionShown());
    const std::size_t unlinked = host.count();
    receiver->failNextWrites(1);
    run({DeviceTask::SendDpi});
    const std::vector<std::string> afterUnlink = {"closePopups", "setDeviceState 1 1 1",
                                                  "showConnectionText 52"};
    EXPECT_EQ(host.shownSince(unlinked), afterUnlink);
    EXPECT_TRUE(worker->state().connectionShown());
}

// A caller that queued a change waits for its ticket and learns from the count of
// refused writes whether the mouse took it.
TEST_F(CommandTasks, ATicketFinishesOnceItsEntryRanAndRefusedWritesAreCounted) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    const std::uint64_t refusedBefore = worker->state().rejectedWrites();

    mouse->failNextWrites(1);
    const std::uint64_t first = worker->queueTask(DeviceTask::SendDpi);
    const std::uint64_t second = worker->queueTask(DeviceTask::SendReportRate);
    EXPECT_EQ(second, first + 1);
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!worker->finished(second) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(2ms);
    }
    ASSERT_TRUE(worker->finished(second));
    EXPECT_TRUE(worker->finished(first)) << "entries run in queue order";
    EXPECT_FALSE(worker->finished(second + 1));
    EXPECT_EQ(worker->state().rejectedWrites(), refusedBefore + 1);
    EXPECT_EQ(commandCodes(*mouse).back(), 0x02) << "the rate still went out";
}

TEST_F(CommandTasks, ARefusedCommandOverTheCableShowsNothing) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    const std::size_t mark = host.count();

    mouse->failNextWrites(1);
    run({DeviceTask::SendDpi});
    EXPECT_TRUE(host.shownSince(mark).empty());
}

} // namespace
} // namespace corvane::protocol::testing
