#pragma once

#include "control/Request.h"
#include "control/Session.h"

#include <cstdint>
#include <vector>

namespace corvane::control {

// One request run against a session. start() checks the request, changes the store and
// queues the device work; the caller then waits (blocking or from its event loop) until
// finished() and takes the answer. Runs on one thread, the one that owns the session.
class RequestRun {
public:
    RequestRun(Session& session, Request request);

    void start();
    // True once every queued task has run (at once when none was queued).
    bool finished() const;
    // The answer; when the mouse refused a command sent for this request, a failure.
    Answer answer() const;
    // The answer for a run given up while its tasks were still queued.
    Answer timedOutAnswer() const;

private:
    Session& session_;
    Request request_;
    Answer answer_;
    std::vector<std::uint64_t> tickets_;
    std::uint64_t refusedBefore_ = 0;
    bool started_ = false;
};

} // namespace corvane::control
