#include "control/local/LocalClient.h"

#include "control/local/PeerCredentials.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace corvane::control {

namespace {

using Clock = std::chrono::steady_clock;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for the descriptor to be ready for `events`; false on timeout or error.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, remainingMs(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

Handover failed(const QString& why) {
    Handover result;
    result.status = Handover::Status::Failed;
    result.error = why;
    return result;
}

bool writeAll(int fd, const QByteArray& bytes, Clock::time_point deadline) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        if (!waitFor(fd, POLLOUT, deadline))
            return false;
        const ssize_t n = ::send(fd, bytes.constData() + sent,
                                 static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

} // namespace

Handover sendRequest(const QString& socketPath, const Request& request,
                     std::chrono::milliseconds timeout) {
    return sendRequest(socketPath, request, timeout, isSameUserPeer);
}

Handover sendRequest(const QString& socketPath, const Request& request,
                     std::chrono::milliseconds timeout,
                     const std::function<bool(int socketDescriptor)>& samePeer) {
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof(address.sun_path))
        return {}; // no window can listen on a path that long either
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));

    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.get() < 0)
        return failed(QStringLiteral("cannot open a local socket: %1")
                          .arg(QString::fromLocal8Bit(std::strerror(errno))));
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return {}; // ENOENT, ECONNREFUSED: nobody listens
    // Whoever listens must be this user's window: another user's program never gets the
    // request, nor answers in the window's name.
    if (!samePeer(socket.get()))
        return failed(
            QStringLiteral("the program listening on %1 runs as another user").arg(socketPath));

    const Clock::time_point deadline = Clock::now() + timeout;
    const QByteArray line = QByteArray(kRequestWord) + ' ' + encodeRequest(request) + '\n';
    if (!writeAll(socket.get(), line, deadline))
        return failed(QStringLiteral("the running window did not take the request"));

    QByteArray received;
    for (;;) {
        if (!waitFor(socket.get(), POLLIN, deadline))
            return failed(QStringLiteral("the running window did not answer in time"));
        char buffer[4096];
        const ssize_t n = ::recv(socket.get(), buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed(QStringLiteral("the connection to the running window broke"));
        if (n == 0)
            break;
        received.append(buffer, n);
        if (received.contains('\n') || received.size() > kMaxAnswerBytes)
            break;
    }
    const qsizetype end = received.indexOf('\n');
    if (end < 0)
        return failed(QStringLiteral("the running window refused the request"));
    const std::optional<Answer> answer = decodeAnswer(received.left(end));
    if (!answer)
        return failed(QStringLiteral("the running window gave an answer that is not understood"));
    Handover result;
    result.status = Handover::Status::Answered;
    result.answer = *answer;
    return result;
}

} // namespace corvane::control
