#pragma once
// The device worker's thread object. Internal to protocol/: the window uses
// DeviceWorker, which owns one of these and keeps it alive only as long as its thread.

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

#include "protocol/HostGate.h"
#include "protocol/WorkerConfig.h"
#include "protocol/WorkerState.h"
#include "protocol/WorkerThread.h"

namespace corvane::protocol {

class DeviceWorkerCore final : public CThreadBasic {
public:
    DeviceWorkerCore(WorkerConfig config, WorkerHost& host);

    // Loop mode with the configured pause between steps.
    bool startWorker() { return startThread(1, config_.delays.loopPause); }

    // --- the task queue (any thread) ---
    // Each returns the entry's ticket: its number in the order of appending (from 1).
    std::uint64_t queueTask(int code);
    std::uint64_t queueSelectType(int deviceType);
    std::size_t queuedTasks() const;
    void dropQueued();
    std::uint64_t tasksTaken() const { return tasksTaken_.load(); }

    WorkerState& state() { return state_; }
    // No host call is made after this returns.
    void closeHost() { host_.close(); }

protected:
    void doWork() override;
    bool isIdle() override;

private:
    struct QueuedTask {
        int code = 0;
        std::optional<int> selectType; // set for the device list's choice of a type
    };
    using Task = void (DeviceWorkerCore::*)();
    struct TaskEntry {
        int code;
        Task run;
    };
    static const TaskEntry kTasks[];

    std::uint64_t append(QueuedTask task);
    std::optional<QueuedTask> take();
    void run(const QueuedTask& task);

    // --- the tasks ---
    void startTask();
    void arrivalTask();
    void removalTask();
    void reselectTask();
    void pushTask();
    void lightingTask();
    void dpiColorsTask();
    void reportRateTask();
    void sensorTask();
    void powerTask();
    void lightingResetTask();
    void dpiDefaultsTask();
    void factoryResetTask();
    void sendButtonsWithMacro();
    void sendLightingIfAny();
    void sendDpiStages();

    // --- sequences (WorkerSequences.cpp) ---
    void startSequence(WorkerDelays::Milliseconds delay);
    // Rebuilds the manager's table of supported interfaces from the catalog.
    void rebuildSupportedTable();
    // The data side of the window's refresh: rescan, settle the current type, load
    // its description, then hand the visible steps to the window. True when the
    // current device type changed.
    bool refreshDeviceState();
    // Settles `type` as current: stored value, manager, store file, description.
    std::optional<catalog::DeviceDetails> settleDeviceType(int type);
    void selectTypeTask(int type);
    void loadProfiles();
    enum class ReadBackKind { Full, Relink };
    bool readBack(ReadBackKind kind);
    void readSettings();
    void relinkSequence();
    void afterSuccessfulRead();
    void resetLighting();

    // --- notices and failures (WorkerNotices.cpp) ---
    void idleStep();
    void dpiNotice(std::uint8_t stages);
    void connectionNotice(const std::uint8_t* report, int deviceType);
    // Runs after a write the mouse did not accept and when the read-back finds the
    // wireless mouse not connected.
    void commandFailed();
    // Runs commandFailed for a write the mouse did not accept (the command layer has
    // left its trace line).
    void afterWrite(bool accepted);

    // --- small helpers ---
    unsigned allPages() const;
    void showVersion();
    void showStoredBattery();
    QString deviceAttrOf(int type) const;
    bool pause(WorkerDelays::Milliseconds duration) { return pauseUnlessStopping(duration); }

    const WorkerConfig config_;
    HostGate host_;
    WorkerState state_;

    mutable std::mutex queueMutex_; // held for one append or one removal
    std::deque<QueuedTask> queue_;
    std::uint64_t appended_ = 0; // entries appended so far
    std::atomic<std::uint64_t> tasksTaken_{0};
};

} // namespace corvane::protocol
