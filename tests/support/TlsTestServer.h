#pragma once
// An https server on 127.0.0.1 for the HTTP client's tests, with certificates made at
// test time: one issued by a test authority the client is told to trust, a self-signed
// one, an expired one and one for another host name.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <QString>

namespace corvane::test {

enum class TlsCertificate {
    Trusted,    // issued for 127.0.0.1 by the test authority
    SelfSigned, // for 127.0.0.1, signed by its own key
    Expired,    // issued by the test authority, expired an hour ago
    OtherHost,  // issued by the test authority for corvane.example only
};

class TlsTestServer {
public:
    explicit TlsTestServer(TlsCertificate certificate);
    ~TlsTestServer();
    TlsTestServer(const TlsTestServer&) = delete;
    TlsTestServer& operator=(const TlsTestServer&) = delete;

    bool isListening() const { return port_ > 0; }
    // "https://127.0.0.1:<port>" followed by `path`.
    QString url(const std::string& path = {}) const;
    // The test authority's certificate as a PEM file: what the client trusts.
    QString authorityFile() const { return authorityFile_; }

    void serveBody(const std::string& path, std::string body);
    void serveRedirect(const std::string& path, std::string location);
    // Requests that reached a handler (a refused handshake never does).
    int requestCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int port_ = 0;
    QString authorityFile_;
};

} // namespace corvane::test
