#include "app/start/SingleInstance.h"

#include "app/start/AppLog.h"
#include "control/local/PeerCredentials.h"
#include "control/requests/Request.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>

#include <algorithm>
#include <array>

namespace corvane::app {

namespace {

// How long each look at a held lock waits.
constexpr int kPollMs = 50;
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
// A request line: the word, a blank and the request's JSON.
const QByteArray requestPrefix = QByteArray(control::kRequestWord) + ' ';
constexpr qsizetype maxRequestLine = control::kMaxRequestBytes + 16;
// Set on a connection once it has sent its request: nothing more is read from it.
constexpr char requestTaken[] = "corvaneRequestTaken";

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

SingleInstance::SingleInstance(InstancePaths paths, QObject* parent,
                               std::chrono::milliseconds handOverWait)
    : QObject(parent), where(std::move(paths)), handOverWait(handOverWait) {}

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
            // Held by a running instance (which then listens), one that is starting, or
            // corvanectl for the length of one command.
            QDeadlineTimer deadline(handOverWait);
            for (;;) {
                if (sendCommand(where.socket, show, kPollMs))
                    return Role::Secondary;
                if (lock->tryLock(kPollMs))
                    break;
                if (deadline.hasExpired()) {
                    qCInfo(lcApp, "another instance is starting; it could not be asked to show");
                    return Role::Secondary;
                }
            }
        } else {
            qCWarning(lcApp,
                      "cannot create the lock file %s; running without the single-instance guard",
                      qPrintable(where.lockFile));
            return Role::Primary;
        }
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
    // Only this user's instance is told anything; another user's listener is nobody.
    if (!control::isSameUserPeer(static_cast<int>(socket.socketDescriptor()))) {
        socket.abort();
        return false;
    }
    socket.write(command + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

void SingleInstance::setRequestHandler(RequestHandler handler) {
    requestHandler = std::move(handler);
}

void SingleInstance::setPeerCheck(PeerCheck check) {
    samePeer = std::move(check);
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        // The socket file is the user's alone; this holds even if its mode were changed.
        const int descriptor = static_cast<int>(socket->socketDescriptor());
        if (!(samePeer ? samePeer(descriptor) : control::isSameUserPeer(descriptor))) {
            qCWarning(lcApp, "refusing a connection from another user");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setReadBufferSize(maxRequestLine + 1);
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
    if (!socket->isOpen() || socket->property(requestTaken).toBool())
        return;
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine();
        if (line.startsWith(requestPrefix) && line.endsWith('\n') &&
            line.size() <= maxRequestLine + 1) {
            dispatchRequest(socket, line.mid(requestPrefix.size()).chopped(1));
            return;
        }
        if (line.size() > maxCommandLength + 1) {
            socket->abort();
            return;
        }
        dispatch(line.trimmed());
    }
    const QByteArray waiting = socket->peek(requestPrefix.size());
    const qsizetype limit = requestPrefix.startsWith(waiting) ? maxRequestLine : maxCommandLength;
    if (socket->bytesAvailable() > limit) {
        socket->abort();
        return;
    }
    // A sender that closes without a final line break still meant its command.
    if (atEnd && socket->bytesAvailable() > 0)
        dispatch(socket->readAll().trimmed());
}

void SingleInstance::dispatchRequest(QLocalSocket* socket, const QByteArray& request) {
    socket->setProperty(requestTaken, true);
    QPointer<QLocalSocket> connection(socket);
    Reply reply = [connection](const QByteArray& answer) {
        if (!connection || connection->state() != QLocalSocket::ConnectedState)
            return;
        connection->write(answer + '\n');
        connection->disconnectFromServer(); // after the answer has been written
    };
    if (!requestHandler) {
        control::Answer refused;
        refused.exitCode = control::ExitCode::Failure;
        refused.err = QStringLiteral("corvanectl: the running window does not take requests\n");
        reply(control::encodeAnswer(refused));
        return;
    }
    requestHandler(request, std::move(reply));
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
