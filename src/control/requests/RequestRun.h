#pragma once

#include "control/requests/CommandContext.h"
#include "control/requests/Request.h"
#include "control/requests/Session.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane::control {

// One request run against a session. start() checks the request, changes the store and
// queues the first device task; the caller then calls advance() (blocking or from its
// event loop) until it returns true and takes the answer. Runs on one thread, the one
// that owns the session.
class RequestRun {
public:
    RequestRun(Session& session, Request request);

    void start();
    // Queues the next task once the one before has run; true once every task has run
    // (at once when there was none).
    bool advance();
    // The answer; when the mouse refused a command sent for this request, a failure.
    Answer answer() const;
    // The answer for a run given up while its tasks were still queued.
    Answer timedOutAnswer() const;

private:
    Session& session_;
    Request request_;
    Answer answer_;
    std::vector<CommandContext::Step> steps_;
    std::size_t queued_ = 0;       // steps queued so far
    std::uint64_t lastTicket_ = 0; // of the last step queued
    std::uint64_t refusedBefore_ = 0;
    bool started_ = false;
};

} // namespace corvane::control
