// The worker thread itself: idle sleep and wake-up, stopping, and the queue shared
// with other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "WorkerFixture.h"
#include "protocol/worker/WorkerThread.h"

namespace corvane::protocol::testing {
namespace {

using namespace std::chrono_literals;

// The deadline only ends a hang.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 60s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class CountingThread final : public CThreadBasic {
public:
    std::atomic<int> calls{0};
    std::atomic<bool> idle{true};
    std::atomic<bool> stopFromWork{false};
    std::atomic<bool> stopResult{true};
    // While set, a step holds the thread until the test lets it go.
    std::atomic<bool> hold{false};
    std::atomic<bool> stepEnded{false};

protected:
    void doWork() override {
        ++calls;
        while (hold) {
            std::this_thread::yield();
        }
        stepEnded = true;
        if (stopFromWork) {
            stopResult = stopThread();
        }
    }
    bool isIdle() override { return idle; }
};

TEST(WorkerThread, AnIdleLoopSleepsUntilWoken) {
    auto thread = std::make_shared<CountingThread>();
    ASSERT_TRUE(thread->startThread(1, 2ms));
    ASSERT_TRUE(eventually([&] { return thread->restingUntilWoken(); })) << "no timed rest";
    EXPECT_EQ(thread->calls, 1);

    thread->wake();
    ASSERT_TRUE(eventually([&] { return thread->calls == 2 && thread->restingUntilWoken(); }));

    thread->idle = false;
    thread->wake();
    ASSERT_TRUE(eventually([&] { return thread->calls > 10; })) << "busy: a step every pause";
    EXPECT_TRUE(thread->stopThread());
    EXPECT_FALSE(thread->isRunning());
    EXPECT_FALSE(thread->startThread(1, 2ms)) << "a thread object runs once";
}

TEST(WorkerThread, SingleCallModeAndStopFromInside) {
    auto once = std::make_shared<CountingThread>();
    ASSERT_TRUE(once->startThread(0, 2ms));
    ASSERT_TRUE(once->waitForExit(5s));
    EXPECT_EQ(once->calls, 1);
    EXPECT_FALSE(once->isRunning());
    EXPECT_TRUE(once->stopThread());

    auto inside = std::make_shared<CountingThread>();
    inside->idle = false;
    inside->stopFromWork = true;
    ASSERT_TRUE(inside->startThread(1, 2ms));
    ASSERT_TRUE(inside->waitForExit(5s));
    EXPECT_EQ(inside->calls, 1);
    EXPECT_FALSE(inside->stopResult) << "it cannot wait for itself";
}

TEST(WorkerThread, AnObjectNotOwnedBySharedPtrDoesNotStart) {
    CountingThread loose;
    EXPECT_FALSE(loose.startThread(1, 2ms));
}

// A step that cannot be cut short is waited for up to the stop's time, then left to
// end on its own: the stop returns while the step is still held.
TEST(WorkerThread, StopWaitsForAStuckStepOnlyItsTime) {
    auto thread = std::make_shared<CountingThread>();
    thread->idle = false;
    thread->hold = true;
    ASSERT_TRUE(thread->startThread(1, 2ms));
    ASSERT_TRUE(eventually([&] { return thread->calls == 1; }));

    EXPECT_FALSE(thread->stopThread(100ms));
    EXPECT_FALSE(thread->stepEnded) << "the stop did not wait for the step";
    EXPECT_FALSE(thread->isRunning());
    thread->hold = false;
    EXPECT_TRUE(thread->waitForExit(60s));
    EXPECT_TRUE(thread->stepEnded);
    EXPECT_EQ(thread->calls, 1) << "no step after the stop";
}

using WorkerLifetime = WorkerTest;

// A command whose answer never comes would hold the worker 1.5 s: the stop interrupts it.
TEST_F(WorkerLifetime, StopEndsAStuckCommandAtOnce) {
    auto receiver = attachM1Receiver();
    startWorker();
    run({DeviceTask::DeviceStart});
    receiver->clearLog();

    receiver->dropNextAnswers(1);
    worker->queueTask(DeviceTask::SendDpi);
    worker->queueTask(DeviceTask::SendPower);
    ASSERT_TRUE(eventually([&] { return !commandCodes(*receiver).empty(); }));
    const std::size_t calls = host.count();

    // The answer would be waited for 1.5 s, longer than the stop's own 1 s: a true
    // means the stop cut the wait short.
    EXPECT_TRUE(worker->stop()) << "the thread ended within the stop";
    EXPECT_FALSE(worker->isRunning());
    EXPECT_EQ(host.count(), calls) << "the failure after stop reached no window";
    EXPECT_EQ(commandCodes(*receiver), Codes{0x03}) << "the queued task was dropped";
}

TEST_F(WorkerLifetime, StopEndsAPauseAtOnce) {
    auto mouse = attachM1Wired();
    WorkerConfig slow = config();
    slow.delays.removal = 30s;
    startWorker(slow);
    run({DeviceTask::DeviceStart});
    worker->queueTask(DeviceTask::DeviceRemoved);
    ASSERT_TRUE(eventually([&] { return worker->queuedTasks() == 0; }));

    EXPECT_TRUE(worker->stop()) << "the 30 s pause ended within the stop's 1 s";
}

TEST_F(WorkerLifetime, TasksQueuedFromAnotherThreadAllRunInOrder) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    mouse->clearLog();

    constexpr int kRounds = 40;
    const std::uint64_t before = worker->tasksTaken();
    std::thread pages([&] {
        for (int i = 0; i < kRounds; ++i) {
            worker->queueTask(DeviceTask::SendDpi);
            worker->queueTask(99);
            worker->queueTask(DeviceTask::SendReportRate);
            worker->state().requestMacroDownload(-1);
        }
    });
    // Meanwhile the window reads what the worker writes.
    int reads = 0;
    while (worker->tasksTaken() < before + 3 * kRounds) {
        reads += worker->state().idlePolling() + worker->state().connectionShown();
        reads += worker->state().currentProfile() + worker->state().details().hasLighting;
        std::this_thread::yield();
    }
    pages.join();
    EXPECT_GT(reads, 0);

    const Codes codes = commandCodes(*mouse);
    ASSERT_EQ(codes.size(), 2u * kRounds);
    for (int i = 0; i < kRounds; ++i) {
        EXPECT_EQ(codes[2 * i], 0x03);
        EXPECT_EQ(codes[2 * i + 1], 0x02);
    }
}

// The window answers corvanectl once the request's task has run: the listener hears of
// each task right after it ran (its report already at the mouse), and nothing once
// removed.
TEST_F(WorkerLifetime, TheTaskEndListenerHearsOfEachTaskAfterItRan) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    mouse->clearLog();

    struct Heard {
        std::uint64_t taken;
        Codes atTheMouse;
    };
    std::mutex mutex;
    std::vector<Heard> heard;
    worker->setTaskEndListener([&] {
        std::lock_guard lock(mutex);
        heard.push_back({worker->tasksTaken(), commandCodes(*mouse)});
    });
    const std::uint64_t rate = worker->queueTask(DeviceTask::SendReportRate);
    const std::uint64_t barrier = worker->queueTask(99);
    ASSERT_TRUE(eventually([&] {
        std::lock_guard lock(mutex);
        return heard.size() == 2;
    }));
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(heard[0].taken, rate);
        EXPECT_EQ(heard[0].atTheMouse, Codes{0x02}) << "told before the report went out";
        EXPECT_EQ(heard[1].taken, barrier);
    }

    worker->setTaskEndListener({});
    run({99});
    std::lock_guard lock(mutex);
    EXPECT_EQ(heard.size(), 2u) << "heard after its removal";
}

TEST_F(WorkerLifetime, DestroyingAWorkerThatNeverStartedIsFine) {
    worker = std::make_unique<DeviceWorker>(config(), host);
    worker->queueTask(DeviceTask::DeviceStart);
    EXPECT_TRUE(worker->stop());
    EXPECT_TRUE(host.calls().empty());
}

} // namespace
} // namespace corvane::protocol::testing
