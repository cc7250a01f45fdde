#include "app/SingleInstance.h"

#include "app/AppLog.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <algorithm>
#include <array>

namespace corvane::app {

namespace {

// A command line longer than this is not ours; the connection is dropped.
constexpr qsizetype maxCommandLength = 300;
// A Wayland activation token: printable, no blanks (compositors use letters, digits and
// a few marks), at most this long.
constexpr qsizetype maxTokenLength = 255;

bool isActivationToken(const QByteArray& token) {
    if (token.isEmpty() || token.size() > maxTokenLength)
        return false;
    return std::all_of(token.begin(), token.end(), [](char c) { return c > 0x20 && c < 0x7f; });
}

struct CommandSignal {
    const char* command;
    void (SingleInstance::*signal)();
};

const std::array commandSignals{
    CommandSignal{"show", &SingleInstance::showRequested},
    CommandSignal{"quit", &SingleInstance::quitRequested},
    CommandSignal{"retranslate", &SingleInstance::retranslateRequested},
};

} // namespace

SingleInstance::SingleInstance(InstancePaths paths, QObject* parent)
    : QObject(parent), where(std::move(paths)) {}

SingleInstance::~SingleInstance() {
    if (server)
        server->close(); // removes the socket file
    if (lock)
        lock->unlock();
}

SingleInstance::Role SingleInstance::start() {
    if (lock && lock->isLocked())
        return Role::Primary;
    QDir().mkpath(QFileInfo(where.lockFile).absolutePath());
    lock = std::make_unique<QLockFile>(where.lockFile);
    // The lock is held for the whole run: only a dead owner makes it stale, never its age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() == QLockFile::LockFailedError) {
            // On Wayland only a start that brings its launcher's activation token may raise
            // the running window: it goes along with "show".
            const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
            const QByteArray show =
                isActivationToken(token) ? QByteArray("show ") + token : QByteArray("show");
            if (!sendCommand(where.socket, show))
                qCInfo(lcApp, "another instance is starting; it could not be asked to show");
            return Role::Secondary;
        }
        qCWarning(lcApp,
                  "cannot create the lock file %s; running without the single-instance guard",
                  qPrintable(where.lockFile));
        return Role::Primary;
    }

    // The lock is ours, so a socket file left at that path belongs to a crashed run.
    QLocalServer::removeServer(where.socket);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(where.socket)) {
        qCWarning(lcApp, "cannot listen on %s: %s", qPrintable(where.socket),
                  qPrintable(server->errorString()));
        delete server;
        server = nullptr;
        return Role::Primary;
    }
    connect(server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return Role::Primary;
}

bool SingleInstance::isListening() const {
    return server && server->isListening();
}

bool SingleInstance::sendCommand(const QString& socketPath, const QByteArray& command,
                                 int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(command + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        socket->setReadBufferSize(4 * maxCommandLength);
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket] { readCommands(socket, false); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readCommands(socket, true);
            socket->deleteLater();
        });
        readCommands(socket, false);
    }
}

void SingleInstance::readCommands(QLocalSocket* socket, bool atEnd) {
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine();
        if (line.size() > maxCommandLength + 1) {
            socket->abort();
            return;
        }
        dispatch(line.trimmed());
    }
    if (socket->bytesAvailable() > maxCommandLength) {
        socket->abort();
        return;
    }
    // A sender that closes without a final line break still meant its command.
    if (atEnd && socket->bytesAvailable() > 0)
        dispatch(socket->readAll().trimmed());
}

void SingleInstance::dispatch(const QByteArray& command) {
    if (command.startsWith("show ")) {
        const QByteArray token = command.mid(5);
        activationToken = isActivationToken(token) ? token : QByteArray();
        emit showRequested();
        return;
    }
    activationToken.clear();
    for (const CommandSignal& entry : commandSignals) {
        if (command == entry.command) {
            emit(this->*entry.signal)();
            return;
        }
    }
    if (!command.isEmpty())
        qCInfo(lcApp, "ignoring unknown command from outside");
}

} // namespace corvane::app
