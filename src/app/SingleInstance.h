#pragma once

#include "app/InstancePaths.h"

#include <QByteArray>
#include <QObject>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace corvane::app {

// Keeps one running instance per user and device name. The first start takes the lock
// file and listens on the local socket; a later start finds the lock held, sends "show"
// to the running instance and ends. The socket also takes "quit" and "retranslate"
// from outside (one command per line), reported as the signals below.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        Primary,   // this process runs the program
        Secondary, // another instance runs; it was asked to show itself if it listens
    };

    explicit SingleInstance(InstancePaths paths, QObject* parent = nullptr);
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

    InstancePaths where;
    std::unique_ptr<QLockFile> lock;
    QLocalServer* server = nullptr;
    QByteArray activationToken;
};

} // namespace corvane::app
