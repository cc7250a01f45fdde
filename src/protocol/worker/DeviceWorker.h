#pragma once
// protocol/worker: the device worker: thread, tasks, state, notices; uses every room below.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/WorkerConfig.h"
#include "protocol/worker/WorkerHost.h"
#include "protocol/worker/WorkerState.h"

namespace corvane::protocol {

class DeviceWorkerCore;

// The device worker: one background thread that owns all traffic with the mouse. The
// window queues DeviceTask codes; the worker runs them one at a time in queue order
// and, once a device was found, hands over the mouse's notices that the interface
// readers hold. It sleeps until a task is queued or a reader holds a notice.
//
// It uses the process-wide DeviceManager and ProfileDatabase, and reaches the window
// only through the WorkerHost, from its own thread. `state()` is what both threads
// read (flags, the current device type and profile, the mouse's limits).
class DeviceWorker {
public:
    // `host` must stay valid until stop() has returned (the destructor stops).
    DeviceWorker(WorkerConfig config, WorkerHost& host);
    // Stops the worker (see stop()).
    ~DeviceWorker();
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    // Starts the thread (loop with the configured pause). False when already started.
    bool start();
    // Ends the worker: tasks still queued are dropped; the exchange or scan in progress
    // ends at its next read (the device manager is interrupted), and the task is given
    // up to 1000 ms to end. True when the thread ended in time. Otherwise the thread
    // finishes its current step on state it co-owns and ends by itself, without
    // calling the host: once stop() was called, the host is never called again.
    // The process-wide DeviceManager and store must outlive it (waitForExit).
    bool stop();
    bool isRunning() const;
    // Waits for the thread to have ended (after a stop that did not wait long enough).
    bool waitForExit(std::chrono::milliseconds wait) const;
    // The same wait, usable after this object is gone (the thread may outlive it).
    std::function<bool(std::chrono::milliseconds)> exitWaiter() const;

    // Appends a code to the queue; any thread. Unknown codes are dropped when taken.
    // Returns the entry's ticket: the entry has been run once finished(ticket) holds.
    std::uint64_t queueTask(int code);
    // Whether the queue entry with this ticket has been taken and run (entries run in
    // queue order, so every earlier entry has been run as well). Entries dropped by
    // stop() never finish.
    bool finished(std::uint64_t ticket) const;
    // Called on the worker thread right after each queue entry has run (finished()
    // holds for it by then), so that a caller waiting for a task hears of its end
    // without polling. An empty function removes it; once that returned, no call is in
    // progress. The listener must not set a listener itself.
    void setTaskEndListener(std::function<void()> listener);
    // The user picked a device type in the device list: settle it as current on the
    // worker (stored "DeviceType", the type's store file, its description and
    // profiles), then showDeviceDetails and refreshPages. Queued like a task, unless it
    // is the type the worker ends on anyway (chosenDeviceType): a click is compared
    // with the last choice queued, not with the type being settled now. True when
    // queued. A wireless type wants DeviceTask::Reselect queued after it.
    bool selectDeviceType(int deviceType);
    // The setup progress window was closed: the setup download queued or running ends
    // (its transfer stops) and nothing is started. Any thread.
    void cancelSetupDownload();
    // The last choice queued while it is not settled yet, else the current type.
    int chosenDeviceType() const;
    std::size_t queuedTasks() const;
    // Entries taken off the queue so far (ignored codes included).
    std::uint64_t tasksTaken() const;
    // Steps the thread has run (tasks and notice steps): how often it woke up.
    std::uint64_t steps() const;
    // True while the thread sleeps with nothing but a queued task, a held notice or a
    // stop to wake it (no timed rest is running).
    bool asleep() const;

    WorkerState& state();
    const WorkerState& state() const;

private:
    std::shared_ptr<DeviceWorkerCore> core_;
};

} // namespace corvane::protocol
