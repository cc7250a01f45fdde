#include "support/HttpTestServer.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace corvane::test {

namespace {

constexpr int kPollMs = 20;
constexpr std::size_t kMaxRequest = 65536;

std::string normalised(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '/' && !out.empty() && out.back() == '/') {
            continue;
        }
        out += c;
    }
    return out;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const char* reasonOf(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

// Sends everything unless the client goes away or the server stops; never blocks for
// longer than one poll, so a client that stopped reading cannot hold the server.
bool sendAll(int fd, const char* data, std::size_t size, const std::atomic<bool>& stopping) {
    while (size > 0) {
        if (stopping) {
            return false;
        }
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, kPollMs) <= 0) {
            continue;
        }
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool sendAll(int fd, const std::string& text, const std::atomic<bool>& stopping) {
    return sendAll(fd, text.data(), text.size(), stopping);
}

// The request head: request line and headers, up to the blank line.
bool readHead(int fd, const std::atomic<bool>& stopping, std::string& head) {
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        if (stopping || head.size() > kMaxRequest) {
            return false;
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, kPollMs) <= 0) {
            continue;
        }
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return false;
        }
        head.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

HttpRequest parseHead(const std::string& head) {
    HttpRequest request;
    std::size_t lineEnd = head.find("\r\n");
    const std::string first = head.substr(0, lineEnd);
    const std::size_t space1 = first.find(' ');
    const std::size_t space2 = first.find(' ', space1 + 1);
    request.method = first.substr(0, space1);
    request.path = first.substr(space1 + 1, space2 - space1 - 1);
    std::size_t at = lineEnd + 2;
    while (at < head.size()) {
        lineEnd = head.find("\r\n", at);
        if (lineEnd == std::string::npos || lineEnd == at) {
            break;
        }
        const std::string line = head.substr(at, lineEnd - at);
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos) {
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            request.headers[lower(line.substr(0, colon))] = value;
        }
        at = lineEnd + 2;
    }
    return request;
}

} // namespace

HttpTestServer::HttpTestServer() {
    if (::pipe(wakePipe_) != 0) {
        return;
    }
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) {
        return;
    }
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener_);
        listener_ = -1;
        return;
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

HttpTestServer::~HttpTestServer() {
    stopping_ = true;
    if (wakePipe_[1] >= 0) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(wakePipe_[1], &wake, 1);
    }
    if (acceptor_.joinable()) {
        acceptor_.join();
    }
    std::vector<std::thread> handlers;
    {
        std::lock_guard lock(mutex_);
        handlers.swap(handlers_);
    }
    for (std::thread& handler : handlers) {
        handler.join();
    }
    for (int fd : {listener_, wakePipe_[0], wakePipe_[1]}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

QString HttpTestServer::url(const std::string& path) const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_) + QString::fromStdString(path);
}

void HttpTestServer::serve(const std::string& path, HttpReply reply) {
    std::lock_guard lock(mutex_);
    replies_[normalised(path)] = std::move(reply);
}

void HttpTestServer::serveBody(const std::string& path, std::string body, int status) {
    HttpReply reply;
    reply.status = status;
    reply.body = std::move(body);
    serve(path, std::move(reply));
}

std::vector<HttpRequest> HttpTestServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t HttpTestServer::requestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

HttpReply HttpTestServer::replyFor(const std::string& path) const {
    std::lock_guard lock(mutex_);
    const auto found = replies_.find(normalised(path));
    if (found != replies_.end()) {
        return found->second;
    }
    HttpReply missing;
    missing.status = 404;
    missing.body = "<html><body>404 Not Found</body></html>\r\n";
    return missing;
}

void HttpTestServer::acceptLoop() {
    while (!stopping_) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) <= 0 || stopping_) {
            continue;
        }
        if (fds[0].revents & POLLIN) {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                std::lock_guard lock(mutex_);
                handlers_.emplace_back([this, client] { handle(client); });
            }
        }
    }
}

// Waits until the client hangs up or the server stops; false when the server stops.
bool HttpTestServer::waitWhileConnected(int client) {
    char buffer[256];
    while (!stopping_) {
        pollfd p{client, POLLIN, 0};
        if (::poll(&p, 1, kPollMs) > 0) {
            if (::recv(client, buffer, sizeof buffer, 0) <= 0) {
                return true;
            }
        }
    }
    return false;
}

void HttpTestServer::handle(int client) {
    std::string head;
    if (readHead(client, stopping_, head)) {
        const HttpRequest request = parseHead(head);
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        const HttpReply reply = replyFor(request.path);
        using Kind = HttpReply::Kind;
        if (reply.kind == Kind::StallBeforeHeaders) {
            waitWhileConnected(client);
            ::close(client);
            return;
        }
        const int status = reply.kind == Kind::Redirect && reply.status == 200 ? 302 : reply.status;
        std::string headers = "HTTP/1.1 " + std::to_string(status) + " " + reasonOf(status) +
                              "\r\nConnection: close\r\nContent-Type: application/octet-stream\r\n";
        const bool withLength = reply.kind != Kind::NoLength && reply.kind != Kind::Endless;
        if (withLength || reply.announcedLength >= 0) {
            const std::int64_t length = reply.announcedLength >= 0
                                            ? reply.announcedLength
                                            : static_cast<std::int64_t>(reply.body.size());
            headers += "Content-Length: " + std::to_string(length) + "\r\n";
        }
        if (reply.kind == Kind::Redirect) {
            headers += "Location: " + reply.location + "\r\n";
        }
        headers += "\r\n";
        if (sendAll(client, headers, stopping_)) {
            const std::size_t part = std::min(reply.sendBytes, reply.body.size());
            switch (reply.kind) {
            case Kind::Stall:
                if (sendAll(client, reply.body.data(), part, stopping_)) {
                    waitWhileConnected(client);
                }
                break;
            case Kind::Truncated:
                sendAll(client, reply.body.data(), part, stopping_);
                break;
            case Kind::Endless: {
                const std::string block(4096, 'x');
                while (sendAll(client, block, stopping_)) {
                }
                break;
            }
            default:
                sendAll(client, reply.body, stopping_);
                break;
            }
        }
    }
    ::shutdown(client, SHUT_RDWR);
    ::close(client);
}

} // namespace corvane::test
