#pragma once

#include <chrono>
#include <functional>

namespace corvane::app {

// The one owner of what the whole process shares: the device manager (with the HID
// layer and the notices held for its handles) and the profile store, both made on
// first use. They are released here, in a fixed order, before main returns, instead of
// by static destruction in whatever order the statics were made:
//   1. the device worker, which uses both, must have ended;
//   2. the device manager closes every handle, then the HID layer;
//   3. the store closes its connection.
// Nothing is released under a worker that is still running.
class ProcessObjects {
public:
    // Waits up to the given time for the worker's thread to have ended.
    using ExitWaiter = std::function<bool(std::chrono::milliseconds)>;

    ProcessObjects() = default;
    // Releases, if that was not done yet; a worker still running is left alone.
    ~ProcessObjects();
    ProcessObjects(const ProcessObjects&) = delete;
    ProcessObjects& operator=(const ProcessObjects&) = delete;

    // The worker whose end comes first (DeviceWorker::exitWaiter).
    void watchWorker(ExitWaiter waiter);
    // Waits up to `wait` for the worker, then releases in the order above and returns
    // true. False, with nothing released, when the worker has not ended: then the
    // process must end without static destruction (endAtOnce).
    bool release(std::chrono::milliseconds wait);

    // Ends the process with `exitCode` without running static destructors or atexit
    // handlers, for when release() could not finish.
    [[noreturn]] static void endAtOnce(int exitCode);

private:
    ExitWaiter worker_;
    bool released_ = false;
};

} // namespace corvane::app
