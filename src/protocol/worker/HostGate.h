#pragma once

#include <mutex>
#include <utility>

#include "protocol/worker/WorkerHost.h"

namespace corvane::protocol {

// The worker's calls into the window go through here, so that once the window has
// stopped the worker (and may be going away) no call reaches it, even from a worker
// thread that was left to finish its task.
class HostGate {
public:
    explicit HostGate(WorkerHost& host) : host_(host) {}

    // Runs f(host) unless closed.
    template <typename F> void call(F&& f) {
        std::lock_guard lock(mutex_);
        if (open_) {
            std::forward<F>(f)(host_);
        }
    }
    // f(host), or `closed` once closed.
    template <typename T, typename F> T ask(F&& f, T closed) {
        std::lock_guard lock(mutex_);
        return open_ ? std::forward<F>(f)(host_) : closed;
    }
    // Waits for a call in progress, then lets none through.
    void close() {
        std::lock_guard lock(mutex_);
        open_ = false;
    }

private:
    std::recursive_mutex mutex_; // a host call may stop the worker itself
    WorkerHost& host_;
    bool open_ = true;
};

} // namespace corvane::protocol
