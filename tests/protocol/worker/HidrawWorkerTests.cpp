// The worker against mice that behave like real ones on hidraw: mice that never answer
// when the program stops, DPI presses while commands are on their way, a wireless mouse
// that is switched off, two clicks in the device list before the worker caught up, and
// what an idle worker costs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "WorkerFixture.h"

namespace corvane::protocol::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The deadline only ends a hang.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 60s) {
    const auto deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Once the worker sleeps again every notice the readers held has been handed over.
bool settled(const DeviceWorker& worker) {
    return eventually([&] { return worker.asleep(); });
}

// The active stage the mouse runs (B4 of its DPI stages: active << 4 | count).
int mouseStage(const vm::MouseDevice& mouse) {
    return mouse.kept(0x03)->parameters[0] >> 4;
}

using HidrawWorker = WorkerTest;

// Each GetInfo of a scan waits 1.5 s for a mouse that never answers, and is tried
// again: stopping must not wait for that.
TEST_F(HidrawWorker, StopEndsAScanOfMiceThatNeverAnswerAtOnce) {
    auto first = attachM1Wired();
    auto second = attachM2();
    first->dropNextAnswers(100);
    second->dropNextAnswers(100);
    startWorker();
    worker->queueTask(DeviceTask::DeviceStart);
    ASSERT_TRUE(eventually([&] { return !commandCodes(*first).empty(); }));

    // Each GetInfo would wait 1.5 s, longer than the stop's own 1 s: a true means the
    // stop cut the wait short.
    EXPECT_TRUE(worker->stop()) << "the thread ended within the stop";
    EXPECT_TRUE(commandCodes(*second).empty()) << "the scan went no further";
    EXPECT_FALSE(manager().isInterrupted()) << "usable again once the worker ended";
}

// A press during a push's first command: the notice is held while the push goes on,
// and SetDpi then puts the mouse back on the stored stage. The notice must not move
// the store on afterwards.
TEST_F(HidrawWorker, ADpiNoticeOlderThanSetDpiIsDropped) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    const int stored = setting(1, "dpi_index");
    ASSERT_EQ(mouseStage(*mouse), stored);
    mouse->clearLog();

    mouse->delayNextAnswers(1, 150ms); // SetButtons
    const std::uint64_t taken = worker->tasksTaken();
    worker->queueTask(DeviceTask::PushProfile);
    ASSERT_TRUE(eventually([&] { return !commandCodes(*mouse).empty(); }));
    ASSERT_TRUE(mouse->pressDpiButton()); // before the answer: held by the exchange
    ASSERT_TRUE(eventually([&] { return worker->tasksTaken() > taken; }));
    const Codes pushed = commandCodes(*mouse);
    ASSERT_EQ(pushed.front(), 0x09);
    ASSERT_EQ(std::count(pushed.begin(), pushed.end(), 0x03), 1) << "SetDpi, after the press";
    ASSERT_TRUE(settled(*worker)); // the held notice was handed over

    EXPECT_EQ(mouseStage(*mouse), stored) << "SetDpi put the mouse back";
    EXPECT_EQ(setting(1, "dpi_index"), stored) << "the store agrees with the mouse";
}

// A press while SetDpi waits for its answer may come before or after the mouse took
// SetDpi: the worker asks the mouse, and the store follows it.
TEST_F(HidrawWorker, ADpiNoticeDuringSetDpiIsSettledByReadingTheMouse) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    const int stored = setting(1, "dpi_index");
    mouse->clearLog();
    const std::size_t mark = host.count();

    mouse->delayNextAnswers(1, 150ms);
    worker->queueTask(DeviceTask::SendDpi);
    ASSERT_TRUE(eventually([&] { return !commandCodes(*mouse).empty(); }));
    ASSERT_TRUE(mouse->pressDpiButton()); // the mouse took SetDpi, then the press
    ASSERT_TRUE(host.waitFor("refreshPages performance", mark));

    EXPECT_EQ(commandCodes(*mouse), (Codes{0x03, 0x13}));
    EXPECT_EQ(mouseStage(*mouse), stored + 1);
    EXPECT_EQ(setting(1, "dpi_index"), stored + 1);
    ASSERT_TRUE(settled(*worker));
    EXPECT_EQ(setting(1, "dpi_index"), stored + 1) << "and the notice is not replayed";
}

// The receiver is plugged in, its mouse switched off: the receiver answers GetInfo with
// "not connected". The window must not show a connected mouse and its pages.
TEST_F(HidrawWorker, AWirelessMouseSwitchedOffShowsAsNotConnected) {
    auto receiver = attachM1Receiver(false);
    startWorker();
    run({DeviceTask::DeviceStart});

    EXPECT_FALSE(worker->state().connectionShown());
    EXPECT_TRUE(host.waitFor("showConnectionText 50", 0, 0ms));
    EXPECT_TRUE(host.waitFor("setDeviceState 1 1 0", 0, 0ms));
    EXPECT_TRUE(host.waitFor("showNoDeviceView", 0, 0ms));
    EXPECT_FALSE(host.waitFor("showConnectionText 52", 0, 0ms));
    ASSERT_EQ(manager().devices().size(), 1u) << "the receiver is still listed";
    EXPECT_EQ(manager().devices().front().onlineState, hid::kOfflineByNotice);

    const std::size_t mark = host.count();
    receiver->link(); // switched on
    ASSERT_TRUE(host.waitFor("showConfigurationPages", mark));
    EXPECT_TRUE(worker->state().connectionShown());
    EXPECT_EQ(manager().devices().front().onlineState, hid::kOnline);
}

// B, then A again, before the worker settled B: the worker must end on A.
TEST_F(HidrawWorker, AChoiceIsComparedWithTheLastOneQueued) {
    auto m1 = attachM1Wired();
    auto m2 = attachM2();
    host.setStoredDeviceType(kM1);
    startWorker();
    run({DeviceTask::DeviceStart});
    ASSERT_EQ(worker->state().currentDeviceType(), kM1);

    m1->delayNextAnswers(1, 200ms); // keeps the worker busy while the user clicks
    worker->queueTask(DeviceTask::SendPower);
    ASSERT_TRUE(eventually([&] { return worker->queuedTasks() == 0; }));

    const std::size_t mark = host.count();
    EXPECT_TRUE(worker->selectDeviceType(kM2));
    EXPECT_EQ(worker->chosenDeviceType(), kM2);
    EXPECT_TRUE(worker->selectDeviceType(kM1)) << "not the current type: the last choice";
    EXPECT_FALSE(worker->selectDeviceType(kM1)) << "the same choice twice";
    ASSERT_TRUE(host.waitFor("showDeviceDetails 1 lighting=1", mark));

    EXPECT_EQ(worker->state().currentDeviceType(), kM1);
    EXPECT_EQ(worker->chosenDeviceType(), kM1);
    EXPECT_EQ(manager().currentType(), kM1);
    EXPECT_EQ(host.storedDeviceType(), kM1);
}

// The idle worker rests until something wakes it: falls asleep, and a barrier task
// queued then is the only step it takes. Counts the steps between (0 idle wake-ups).
class IdleWorker : public HidrawWorker {
protected:
    // Waits until the worker sleeps, then checks that the barrier task is its one
    // wake-up until it sleeps again.
    void expectNoWakeUpsBut(const char* what) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(eventually([&] { return worker->asleep(); }, 20s)) << "it never slept";
        const std::uint64_t before = worker->steps();
        const std::uint64_t ticket = worker->queueTask(99);
        ASSERT_TRUE(eventually([&] { return worker->finished(ticket); }, 20s))
            << "a task queued while it slept woke it";
        ASSERT_TRUE(eventually([&] { return worker->asleep(); }, 20s));
        EXPECT_EQ(worker->steps(), before + 1) << "one wake-up: the task's";
    }
};

TEST_F(IdleWorker, NothingAttachedNoWakeUps) {
    startWorker();
    run({DeviceTask::DeviceStart});
    expectNoWakeUpsBut("nothing attached");
}

TEST_F(IdleWorker, AnUnidentifiedMouseCostsNoWakeUps) {
    // A mouse of a supported pair whose identifier the catalog does not know: listed,
    // its reader waiting, never identified.
    vm::WiredMouseConfig stranger;
    stranger.productId = 0xC0A1;
    stranger.mouse.deviceId = "ZZZZ";
    auto mouse = bus->addWiredMouse(stranger);
    host.setStoredDeviceType(101); // what the window writes at start
    startWorker();
    run({DeviceTask::DeviceStart});
    ASSERT_TRUE(worker->state().idlePolling());
    expectNoWakeUpsBut("an unidentified mouse");
}

// A mouse pulled out without a removal task leaves a handle whose reads fail at once.
// Its reader ends on the first failed read (so nothing reads the dead handle again and
// nothing wakes the worker for it); the next scan closes it.
TEST_F(IdleWorker, AHandleWhoseReadsFailEndsItsReaderAndCostsNoWakeUps) {
    auto m1 = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    ASSERT_TRUE(worker->state().idlePolling());
    expectNoWakeUpsBut("an identified mouse, its reader waiting");

    m1->unplug();
    // Asked from here while the worker sleeps: the readers' state, nothing is read.
    std::array<std::uint8_t, hid::kReportBufferSize> report{};
    int type = 0;
    hid::PollOutcome outcome = hid::PollOutcome::Quiet;
    ASSERT_TRUE(eventually(
        [&] {
            manager().pollNotification(report.data(), type, &outcome);
            return outcome == hid::PollOutcome::Failed;
        },
        20s))
        << "the reader of the dead handle ended";
    const int reads = m1->stats(vm::InterfaceKind::Command).reads;
    expectNoWakeUpsBut("a handle whose reads fail");
    EXPECT_EQ(m1->stats(vm::InterfaceKind::Command).reads, reads);
}

} // namespace
} // namespace corvane::protocol::testing
