#pragma once
// The device worker's thread object. Internal to protocol/: the window uses
// DeviceWorker, which owns one of these and keeps it alive only as long as its thread.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "hid/DeviceManager.h"
#include "protocol/worker/HostGate.h"
#include "protocol/worker/WorkerConfig.h"
#include "protocol/worker/WorkerState.h"
#include "protocol/worker/WorkerThread.h"

namespace corvane::protocol {

class WorkerUpdates;

class DeviceWorkerCore final : public CThreadBasic {
public:
    DeviceWorkerCore(WorkerConfig config, WorkerHost& host);
    ~DeviceWorkerCore() override;

    // Loop mode with the configured pause between steps.
    bool startWorker();
    // Asks the thread to stop and makes the device manager end the exchange or scan in
    // progress at its next read, so that the stop does not wait for a mouse. Once the
    // thread has ended the manager is usable again.
    bool stopWorker(Milliseconds wait);

    // The setup download ends (any thread; see DeviceWorker::cancelSetupDownload).
    void cancelSetupDownload();

    // --- the task queue (any thread) ---
    // Returns the entry's ticket: its number in the order of appending (from 1).
    std::uint64_t queueTask(int code);
    // Queues the choice unless it is the device type the worker will be on anyway (the
    // last choice still queued or in progress, else the current type); true when queued.
    bool queueSelectType(int deviceType);
    // The type the worker ends on once the choices queued so far are settled.
    int chosenDeviceType() const;
    std::size_t queuedTasks() const;
    void dropQueued();
    std::uint64_t tasksTaken() const { return tasksTaken_.load(); }
    // See DeviceWorker::setTaskEndListener.
    void setTaskEndListener(std::function<void()> listener);
    // Calls of doWork so far: tasks and idle steps (how often the thread woke up).
    std::uint64_t steps() const { return steps_.load(); }

    WorkerState& state() { return state_; }
    // No host call is made after this returns.
    void closeHost() { host_.close(); }

protected:
    void doWork() override;
    Milliseconds restAfterStep() override;

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
    void sendButtonsWithAllMacros();
    void sendLightingIfAny();
    void sendDpiStages();
    // The update tasks (WorkerUpdateTasks.cpp).
    void programCheckTask();
    void firmwareCheckTask();
    void setupDownloadTask();
    void firmwareUpgradeTask();
    void firmwareRecoveryTask();
    // After a scan without a mouse: offers the firmware again to one left in its
    // bootloader.
    void offerRecoveryIfStranded();

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
    // Asks the mouse for its stages and stores them as a DPI notice would.
    void followMouseStageTask();
    void connectionNotice(const std::uint8_t* report, int deviceType);
    // Runs after a write the mouse did not accept and when the read-back finds the
    // wireless mouse not connected.
    void commandFailed();
    // Runs commandFailed for a write the mouse did not accept (the command layer has
    // left its trace line).
    void afterWrite(bool accepted);
    // The read-back found the receiver there but its wireless mouse not linked (switched
    // off, out of range): show the type as not connected, its receiver still listed.
    void wirelessMouseAway();

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
    int pendingSelects_ = 0;     // choices queued or in progress (queueMutex_)
    int lastSelect_ = 0;         // the last choice queued (queueMutex_)
    std::uint64_t appended_ = 0; // entries appended so far
    std::atomic<std::uint64_t> tasksTaken_{0};
    std::atomic<std::uint64_t> steps_{0};
    std::mutex listenerMutex_; // held while the listener is called or replaced
    std::function<void()> taskEndListener_;
    std::unique_ptr<WorkerUpdates> updates_;
};

} // namespace corvane::protocol
