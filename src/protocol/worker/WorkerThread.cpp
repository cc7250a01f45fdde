#include "protocol/worker/WorkerThread.h"

namespace corvane::protocol {

CThreadBasic::~CThreadBasic() {
    // The last owner may be the thread itself, ending after a stop that did not wait for
    // it (it was detached then) or without any stop: it cannot join itself.
    if (thread_.joinable()) {
        thread_.detach();
    }
}

bool CThreadBasic::startThread(int loopMode, Milliseconds pause) {
    std::shared_ptr<CThreadBasic> self = weak_from_this().lock();
    if (!self) {
        return false;
    }
    std::lock_guard lock(mutex_);
    if (started_) {
        return false;
    }
    started_ = true;
    running_ = true;
    exited_ = false;
    loopMode_ = loopMode;
    pause_ = pause;
    startTick_ = std::chrono::duration_cast<Milliseconds>(
                     std::chrono::steady_clock::now().time_since_epoch())
                     .count();
    thread_ = std::thread(&CThreadBasic::run, this, std::move(self));
    return true;
}

// `self` keeps this object alive until the thread ends, even when its owner let go
// after a stop that did not wait for the end.
void CThreadBasic::run([[maybe_unused]] std::shared_ptr<CThreadBasic> self) {
    if (loopMode_ == 0) {
        doWork();
    } else {
        std::unique_lock lock(mutex_);
        while (running_) {
            lock.unlock();
            doWork();
            lock.lock();
            if (!running_) {
                break;
            }
            if (!wakePending_) {
                const Milliseconds rest = restAfterStep();
                const auto woken = [this] { return !running_ || wakePending_; };
                if (rest < Milliseconds(0)) {
                    restingUntilWoken_ = true;
                    changed_.wait(lock, woken);
                    restingUntilWoken_ = false;
                } else {
                    changed_.wait_for(lock, rest, woken);
                }
            }
            wakePending_ = false;
        }
    }
    std::lock_guard lock(mutex_);
    running_ = false;
    exited_ = true;
    changed_.notify_all();
    // `self` goes after the lock: this object may end here, on its own thread.
}

bool CThreadBasic::stopThread(Milliseconds wait) {
    std::unique_lock lock(mutex_);
    if (!thread_.joinable()) {
        return exited_ || !started_;
    }
    running_ = false;
    changed_.notify_all();
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach(); // asked from doWork: the loop ends when doWork returns
        return false;
    }
    const bool ended = changed_.wait_for(lock, wait, [this] { return exited_; });
    std::thread thread = std::move(thread_);
    lock.unlock();
    if (ended) {
        thread.join();
    } else {
        thread.detach();
    }
    return ended;
}

bool CThreadBasic::isRunning() const {
    std::lock_guard lock(mutex_);
    return running_;
}

bool CThreadBasic::waitForExit(Milliseconds wait) const {
    std::unique_lock lock(mutex_);
    if (!started_) {
        return true;
    }
    return changed_.wait_for(lock, wait, [this] { return exited_; });
}

std::int64_t CThreadBasic::startTick() const {
    std::lock_guard lock(mutex_);
    return startTick_;
}

void CThreadBasic::wake() {
    std::lock_guard lock(mutex_);
    wakePending_ = true;
    changed_.notify_all();
}

bool CThreadBasic::restingUntilWoken() const {
    std::lock_guard lock(mutex_);
    return restingUntilWoken_;
}

bool CThreadBasic::pauseUnlessStopping(Milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return !running_; });
}

bool CThreadBasic::stopRequested() const {
    std::lock_guard lock(mutex_);
    return !running_;
}

} // namespace corvane::protocol
