#pragma once
// control/local: local socket, peer check, paths, folders, user values; uses requests/.

#include "control/requests/Request.h"

#include <QString>

#include <chrono>
#include <functional>

namespace corvane::control {

// corvanectl's side of the window's local socket, on plain AF_UNIX sockets so that the
// tool needs nothing beyond QtCore.
struct Handover {
    enum class Status {
        Answered,   // the window ran the request; `answer` holds its result
        NoListener, // nothing listens on the socket (no window runs, or it is starting)
        Failed,     // a window took the connection but gave no usable answer
    };
    Status status = Status::NoListener;
    Answer answer;
    QString error; // why it failed, for stderr
};

// Sends the request line and waits up to `timeout` for the one answer line.
Handover sendRequest(const QString& socketPath, const Request& request,
                     std::chrono::milliseconds timeout);
// The same, with `samePeer` deciding whether the listener (the connected socket's
// descriptor) runs as this user in place of the kernel's peer credentials (a test
// stands in for another user without root).
Handover sendRequest(const QString& socketPath, const Request& request,
                     std::chrono::milliseconds timeout,
                     const std::function<bool(int socketDescriptor)>& samePeer);

} // namespace corvane::control
