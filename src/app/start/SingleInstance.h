#pragma once

#include "app/start/InstancePaths.h"

#include <QByteArray>
#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace corvane::app {

// Keeps one running instance per user and device name. The first start takes the lock
// file and listens on the local socket; a later start finds the lock held, sends "show"
// to the running instance and ends. The socket also takes "quit" and "retranslate"
// from outside (one command per line), reported as the signals below, and corvanectl's
// requests ("request <json>" lines, one per connection), which are answered on the
// same connection. Only processes of the same user are listened to.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        Primary,   // this process runs the program
        Secondary, // another instance runs; it was asked to show itself if it listens
    };

    // corvanectl holds the same lock file while it talks to a mouse itself, for as long
    // as one command takes: a start that finds the lock held and nobody listening waits
    // up to `handOverWait` for it to be given back (or for a starting instance to
    // listen) before it hands over.
    static constexpr std::chrono::milliseconds kHandOverWait{10000};

    explicit SingleInstance(InstancePaths paths, QObject* parent = nullptr,
                            std::chrono::milliseconds handOverWait = kHandOverWait);
    ~SingleInstance() override;

    // Takes the lock (taking over one left by a crashed instance) and listens, or hands
    // over to the running instance. When the lock cannot be created at all (no runtime
    // folder, no permission), the program still runs, unguarded, as Primary.
    Role start();

    // The activation token the last "show" brought from the other start (empty when it
    // brought none); the window uses it to come forward on Wayland.
    QByteArray lastActivationToken() const { return activationToken; }

    // Whether commands from outside can reach this instance.
    bool isListening() const;
    const InstancePaths& paths() const { return where; }

    // Runs a request (the JSON after "request ") and calls `reply` with the answer's
    // JSON once it has one; `reply` may be kept and called later, and does nothing when
    // the connection has gone away in the meantime.
    using Reply = std::function<void(const QByteArray& answer)>;
    using RequestHandler = std::function<void(const QByteArray& request, Reply reply)>;
    void setRequestHandler(RequestHandler handler);

    // Whether the process at the other end of a connection (its socket descriptor) runs
    // as this user; connections it refuses are closed unread. The kernel's peer
    // credentials unless replaced (a test stands in for another user without root).
    using PeerCheck = std::function<bool(int socketDescriptor)>;
    void setPeerCheck(PeerCheck check);

    // Sends one command ("show", "quit", "retranslate") to a running instance; false
    // when none listens on that socket.
    static bool sendCommand(const QString& socketPath, const QByteArray& command,
                            int timeoutMs = 1000);

signals:
    void showRequested();
    void quitRequested();
    void retranslateRequested();

private:
    void acceptConnections();
    void readCommands(QLocalSocket* socket, bool atEnd);
    void dispatch(const QByteArray& command);
    void dispatchRequest(QLocalSocket* socket, const QByteArray& request);

    InstancePaths where;
    std::chrono::milliseconds handOverWait;
    PeerCheck samePeer;
    std::unique_ptr<QLockFile> lock;
    QLocalServer* server = nullptr;
    RequestHandler requestHandler;
    QByteArray activationToken;
};

} // namespace corvane::app
