#pragma once
// A running worker settled on the M1 of data/config.xml, on its cable or behind its
// receiver, with a store in a temporary folder, as the window runs it: it takes its
// notices, a task starts as soon as it is queued. The mouse itself notes when it took
// each command and what it then ran with, so a bench judges the time a setting took to
// reach the mouse by the mouse's own reading.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include "catalog/DeviceCatalog.h"
#include "hid/DeviceManager.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "protocol/worker/QuietWorkerHost.h"
#include "store/ProfileDatabase.h"
#include "virtualmouse/VirtualMouse.h"

namespace corvane::bench {

using Clock = std::chrono::steady_clock;

// The type data/config.xml gives the M1.
inline constexpr int kM1 = 1;

class QuietHost final : public protocol::QuietWorkerHost {
public:
    QString profileWord() override { return QStringLiteral("Profile"); }
    int storedDeviceType() override { return 0; }
    void storeDeviceType(int) override {}
};

// One command the mouse took: when, the report rate it ran with afterwards, and how long
// the thread that sent it had waited for a CPU so far (its run-queue time, from the
// kernel's schedstat): the difference between two samples tells what of a latency was
// the machine being busy rather than the program.
struct TakenCommand {
    Clock::time_point at;
    int reportRateHz;
    std::int64_t runQueueNs;
};

// The run-queue time of a thread (/proc/.../schedstat: on CPU, waiting, slices), in ns.
inline std::int64_t runQueueNs(const std::string& schedstat) {
    std::ifstream file(schedstat);
    long long onCpu = 0, waiting = 0;
    file >> onCpu >> waiting;
    return waiting;
}

class RunningWorker {
public:
    explicit RunningWorker(bool wireless) {
        QDir(data_.path()).mkpath(QStringLiteral("db"));
        if (wireless) {
            vm::ReceiverConfig config;
            config.mouse.deviceId = "CVM1";
            mouse_ = bus_->addReceiver(config);
        } else {
            vm::WiredMouseConfig config;
            config.mouse.deviceId = "CVM1";
            mouse_ = bus_->addWiredMouse(config);
        }
        // Called on the worker's thread right after the firmware took a command, outside
        // the bus lock.
        mouse_->observeWrites(vm::InterfaceKind::Command, [this] {
            const Clock::time_point at = Clock::now();
            const int hz = mouse_->held().reportRateHz;
            const std::int64_t waited = runQueueNs("/proc/thread-self/schedstat");
            std::lock_guard lock(mutex_);
            senderTid_ = gettid();
            taken_.push_back({at, hz, waited});
            changed_.notify_all();
        });
        hid::DeviceManager::installHidApi(bus_);
        protocol::WorkerConfig config;
        config.exeFolder = QStringLiteral(CORVANE_BENCH_DATA_DIR);
        config.dataFolder = data_.path();
        config.catalog = catalog::readCatalog(config.exeFolder + QStringLiteral("/config.xml"));
        config.update.networkAllowed = false; // measured without the server
        worker_ = std::make_unique<protocol::DeviceWorker>(std::move(config), host_);
        if (!worker_->start()) {
            problem_ = "the worker did not start";
            return;
        }
        worker_->queueTask(protocol::DeviceTask::DeviceStart);
        if (!settle(std::chrono::seconds(30))) {
            problem_ = "the worker's start sequence did not end";
            return;
        }
        // Without these the bench would time reports sent for no mouse into no store.
        if (worker_->state().currentDeviceType() != kM1) {
            problem_ = "the worker has no current mouse (device type " +
                       std::to_string(worker_->state().currentDeviceType()) + ")";
        } else if (!store::ProfileDatabase::instance().isOpen()) {
            problem_ = "the mouse's store is not open";
        } else if (worker_->state().currentProfile() < 1) {
            problem_ = "the worker has no current profile";
        }
    }
    ~RunningWorker() {
        mouse_->observeWrites(vm::InterfaceKind::Command, {});
        worker_->stop();
        worker_->waitForExit(std::chrono::seconds(10));
        worker_.reset();
        hid::DeviceManager::installHidApi(nullptr);
        store::ProfileDatabase::instance().close();
    }
    RunningWorker(const RunningWorker&) = delete;
    RunningWorker& operator=(const RunningWorker&) = delete;

    // Empty when the worker settled on the M1 with its store open; else what went wrong.
    const std::string& problem() const { return problem_; }

    protocol::DeviceWorker& worker() { return *worker_; }
    vm::MouseDevice& mouse() { return *mouse_; }

    // Every task queued so far taken and run, and the worker asleep again (the
    // deadline only catches a hang).
    bool settle(std::chrono::milliseconds deadline) {
        const Clock::time_point end = Clock::now() + deadline;
        while (worker_->queuedTasks() > 0 || !worker_->asleep()) {
            if (Clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        return true;
    }

    // The run-queue time so far of the thread that sent the last command (the worker).
    std::int64_t senderRunQueueNs() {
        pid_t tid = 0;
        {
            std::lock_guard lock(mutex_);
            tid = senderTid_;
        }
        return tid ? runQueueNs("/proc/self/task/" + std::to_string(tid) + "/schedstat") : 0;
    }

    std::size_t commandsTaken() {
        std::lock_guard lock(mutex_);
        return taken_.size();
    }
    // The command the mouse took after the first `count`, waited for up to `deadline`.
    bool waitForCommand(std::size_t count, TakenCommand& command,
                        std::chrono::milliseconds deadline) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, deadline, [&] { return taken_.size() > count; }))
            return false;
        command = taken_[count];
        return true;
    }
    // The first command after the first `count` after which the mouse ran at `hz`.
    bool waitForRate(std::size_t count, int hz, TakenCommand& command,
                     std::chrono::milliseconds deadline) {
        std::unique_lock lock(mutex_);
        auto found = [&] {
            for (std::size_t i = count; i < taken_.size(); ++i) {
                if (taken_[i].reportRateHz == hz) {
                    command = taken_[i];
                    return true;
                }
            }
            return false;
        };
        return changed_.wait_for(lock, deadline, found);
    }

private:
    QTemporaryDir data_;
    std::shared_ptr<vm::VirtualMouse> bus_ = std::make_shared<vm::VirtualMouse>();
    std::shared_ptr<vm::MouseDevice> mouse_;
    QuietHost host_;
    std::unique_ptr<protocol::DeviceWorker> worker_;
    std::string problem_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<TakenCommand> taken_;
    pid_t senderTid_ = 0;
};

// Sorted samples in milliseconds: median and worst as benchmark counters.
template <typename State>
void reportMillis(State& state, std::vector<double> millis, const std::string& prefix) {
    if (millis.empty())
        return;
    std::sort(millis.begin(), millis.end());
    state.counters[prefix + "median_ms"] = millis[millis.size() / 2];
    state.counters[prefix + "worst_ms"] = millis.back();
}

} // namespace corvane::bench
