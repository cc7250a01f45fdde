#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace corvane::protocol {

// One background thread that calls doWork, either once or in a loop with a pause
// between calls. The thread keeps the object alive (it holds a shared_ptr to it), so
// an object that must run its thread is owned by a shared_ptr.
//
// Rest between calls: after a call the loop rests as long as restAfterStep() says (the
// pause unless the subclass says otherwise), or, when it says kUntilWoken, until wake()
// or stop; wake() ends any rest early and is remembered, so a wake that comes between
// the check and the rest is not lost.
//
// Stop: stopThread waits a bounded time for the loop to end. When doWork is still
// busy after that, the thread is detached: it finishes its current call on an object
// it still co-owns, sees that it must stop and ends on its own; waitForExit can wait
// for that.
class CThreadBasic : public std::enable_shared_from_this<CThreadBasic> {
public:
    using Milliseconds = std::chrono::milliseconds;
    static constexpr Milliseconds kUntilWoken{-1};

    virtual ~CThreadBasic();
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // loopMode 1: doWork repeatedly with `pause` between calls until stopped;
    // 0: doWork once. False when already started or when the object is not owned
    // by a shared_ptr.
    bool startThread(int loopMode, Milliseconds pause);
    // Asks the loop to end and waits up to `wait` for it. True when the thread ended in
    // time (it is joined then); false when it was left to finish on its own. Safe to
    // call more than once and from doWork itself (which cannot wait for itself).
    bool stopThread(Milliseconds wait = Milliseconds(1000));
    // True from startThread until stopThread (or the end of a single call).
    bool isRunning() const;
    // Waits up to `wait` for the thread to have ended; true when it has (or never ran).
    bool waitForExit(Milliseconds wait) const;
    // Steady-clock milliseconds at startThread.
    std::int64_t startTick() const;
    // Ends an idle sleep, or the next one if the loop is busy right now.
    void wake();
    // True while the loop rests with no time set: only wake() or a stop ends that rest.
    bool restingUntilWoken() const;

protected:
    CThreadBasic() = default;

    // One step of work; runs on the thread.
    virtual void doWork() = 0;
    // Asked after each step, on the thread: true lets the loop sleep until wake().
    // Called while the thread's own lock is held: it must not call wake or stop.
    virtual bool isIdle() { return false; }
    // How long to rest after a step unless woken: kUntilWoken while isIdle(), else the
    // pause. Called like isIdle, with the same restriction.
    virtual Milliseconds restAfterStep() { return isIdle() ? kUntilWoken : pause_; }
    // Sleeps up to `duration`, ending early when a stop is asked for. False when
    // the thread is stopping (the caller should give up its work).
    bool pauseUnlessStopping(Milliseconds duration);
    bool stopRequested() const;

private:
    void run(std::shared_ptr<CThreadBasic> self);

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool started_ = false;
    bool running_ = false;
    bool wakePending_ = false;
    bool restingUntilWoken_ = false;
    bool exited_ = false;
    int loopMode_ = 1;
    Milliseconds pause_{2};
    std::int64_t startTick_ = 0;
    std::thread thread_;
};

} // namespace corvane::protocol
