#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the tests of the download code. It runs on
// its own threads (one per connection), serves what the test put at a path and
// misbehaves on demand: error statuses, bodies that stall, never end, end early or come
// with a wrong length, and redirects. Every request is written down.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QString>

namespace corvane::test {

struct HttpReply {
    enum class Kind {
        Normal,             // the body with its length
        NoLength,           // the body without a Content-Length, ended by closing
        StallBeforeHeaders, // accepts the request and sends nothing
        Stall,              // the headers and `sendBytes` of the body, then nothing
        Truncated,          // announces the whole body, sends `sendBytes`, closes
        Endless,            // no length; body bytes until the client gives up
        Redirect,           // `status` (302 unless set) to `location`
    };
    int status = 200;
    std::string body{};
    Kind kind = Kind::Normal;
    std::size_t sendBytes = 0;
    std::int64_t announcedLength = -1; // a Content-Length other than the body's size
    std::string location{};
};

struct HttpRequest {
    std::string method;
    std::string path;                           // as the client sent it
    std::map<std::string, std::string> headers; // names in lower case
};

class HttpTestServer {
public:
    HttpTestServer();
    // Ends every connection, stalled ones included, and joins the threads.
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    bool isListening() const { return listener_ >= 0; }
    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by `path`.
    QString url(const std::string& path = {}) const;

    // What a path answers. Paths match with runs of slashes taken as one ("/a//b" is
    // "/a/b"); a path with nothing put at it answers 404 with a small HTML page.
    void serve(const std::string& path, HttpReply reply);
    void serveBody(const std::string& path, std::string body, int status = 200);

    std::vector<HttpRequest> requests() const;
    std::size_t requestCount() const;

private:
    void acceptLoop();
    void handle(int client);
    bool waitWhileConnected(int client);
    HttpReply replyFor(const std::string& path) const;

    int listener_ = -1;
    int wakePipe_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;

    mutable std::mutex mutex_;
    std::map<std::string, HttpReply> replies_;
    std::vector<HttpRequest> requests_;
    std::vector<std::thread> handlers_;
};

} // namespace corvane::test
