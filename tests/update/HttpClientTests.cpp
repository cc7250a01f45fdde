// The HTTP client against a real server on 127.0.0.1 that misbehaves on demand.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <sys/resource.h>

#include "support/HttpTestServer.h"
#include "support/TlsTestServer.h"
#include "update/AddressRules.h"
#include "update/HttpClient.h"

namespace corvane::update {
namespace {

using test::HttpReply;
using Kind = HttpReply::Kind;
using Clock = std::chrono::steady_clock;

// Only ends a hang: far beyond any transfer's own limits.
constexpr auto kHang = std::chrono::seconds(60);

// Waits (bounded by kHang) until the server has seen a request; false when it never did.
bool requestArrived(const corvane::test::HttpTestServer& server) {
    const auto hang = Clock::now() + kHang;
    while (server.requestCount() == 0) {
        if (Clock::now() > hang)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

HttpClient::Limits shortLimits() {
    HttpClient::Limits limits;
    limits.connectTimeout = std::chrono::milliseconds(2000);
    limits.lowSpeedTime = std::chrono::seconds(1);
    limits.lowSpeedBytes = 1024; // curl averages over a few seconds: a stall shows at once
    limits.maxFileBytes = 256 * 1024;
    return limits;
}

std::string bytesOf(std::size_t n) {
    std::string body(n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        body[i] = static_cast<char>('a' + i % 26);
    }
    return body;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

HttpReply reply(Kind kind, std::string body, std::size_t sendBytes = 0, int status = 200) {
    HttpReply r;
    r.kind = kind;
    r.body = std::move(body);
    r.sendBytes = sendBytes;
    r.status = status;
    return r;
}

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        ASSERT_TRUE(dir.isValid());
    }
    QString file(const char* name = "download.bin") const {
        return dir.filePath(QString::fromLatin1(name));
    }

    test::HttpTestServer server;
    QTemporaryDir dir;
    HttpClient client{shortLimits()};
};

TEST_F(HttpClientTest, RequestsCarryTheAgentAndAskForAFreshCopy) {
    server.serveBody("/soft/version", "1.0.2\r\n");
    QString text;
    ASSERT_EQ(client.fetchText(server.url("/soft/version"), text), FetchResult::Complete);
    EXPECT_EQ(text, QStringLiteral("1.0.2\r\n"));
    ASSERT_EQ(server.requestCount(), 1u);
    const test::HttpRequest request = server.requests().front();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.headers.at("user-agent"), "IIC2.0/PC 5.5.0000");
    EXPECT_EQ(request.headers.at("accept"), "*/*");
    EXPECT_EQ(request.headers.at("cache-control"), "no-cache");
    EXPECT_EQ(request.headers.at("pragma"), "no-cache");
}

// Each way a server can answer, for a text and for a file: only a complete 2xx answer
// counts, and a failed download leaves no file (not even one that was there before).
TEST_F(HttpClientTest, OnlyACompleteSuccessfulAnswerCounts) {
    const std::string body = bytesOf(5000);
    HttpReply wrongLength = reply(Kind::Normal, body);
    wrongLength.announcedLength = 9000;
    HttpReply redirect;
    redirect.kind = Kind::Redirect;
    redirect.location = server.url("/moved").toStdString();
    HttpReply redirectAway;
    redirectAway.kind = Kind::Redirect;
    redirectAway.location = "http://example.com/moved";
    HttpReply redirectLoop;
    redirectLoop.kind = Kind::Redirect;
    redirectLoop.location = server.url("/loop").toStdString();
    server.serveBody("/moved", body);

    const struct {
        const char* name;
        HttpReply reply;
        int expected;
    } cases[] = {
        {"complete", reply(Kind::Normal, body), FetchResult::Complete},
        {"without a length", reply(Kind::NoLength, body), FetchResult::Complete},
        {"not found", reply(Kind::Normal, "<html>404</html>", 0, 404), FetchResult::Failed},
        {"server error", reply(Kind::Normal, "1.0.3", 0, 500), FetchResult::Failed},
        {"truncated", reply(Kind::Truncated, body, 2000), FetchResult::Failed},
        {"longer length announced", wrongLength, FetchResult::Failed},
        {"stalled body", reply(Kind::Stall, body, 100), FetchResult::Failed},
        {"stalled before the answer", reply(Kind::StallBeforeHeaders, body), FetchResult::Failed},
        {"endless body", reply(Kind::Endless, {}), FetchResult::Failed},
        {"redirect on the loopback", redirect, FetchResult::Complete},
        {"redirect to plain http elsewhere", redirectAway, FetchResult::Failed},
        {"redirect loop", redirectLoop, FetchResult::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.serve("/loop", redirectLoop);
        server.serve("/case", c.reply);
        // A transfer that hangs ends as Stopped, which no case expects.
        const auto hang = Clock::now() + kHang;
        client.setStopCheck([hang] { return Clock::now() > hang; });

        QString text = QStringLiteral("old");
        const int textResult = client.fetchText(server.url("/case"), text);
        EXPECT_EQ(textResult, c.expected);
        if (c.expected == FetchResult::Complete) {
            EXPECT_EQ(text.toStdString(), body);
        } else {
            EXPECT_TRUE(text.isEmpty());
        }

        QFile::remove(file());
        ASSERT_TRUE(QDir().mkpath(dir.path()));
        {
            QFile before(file());
            ASSERT_TRUE(before.open(QIODevice::WriteOnly));
            before.write("an older download");
        }
        EXPECT_EQ(client.fetchFile(server.url("/case"), file()), c.expected);
        if (c.expected == FetchResult::Complete) {
            EXPECT_EQ(fileBytes(file()).toStdString(), body);
        } else {
            EXPECT_FALSE(QFile::exists(file()));
        }
    }
}

TEST_F(HttpClientTest, TextAnswersAreCappedAt10KiB) {
    server.serveBody("/full", bytesOf(10240));
    server.serveBody("/over", bytesOf(10241));
    server.serve("/over-unannounced", reply(Kind::NoLength, bytesOf(20000)));
    QString text;
    EXPECT_EQ(client.fetchText(server.url("/full"), text), FetchResult::Complete);
    EXPECT_EQ(text.size(), 10240);
    EXPECT_EQ(client.fetchText(server.url("/over"), text), FetchResult::Failed);
    EXPECT_EQ(client.fetchText(server.url("/over-unannounced"), text), FetchResult::Failed);
    EXPECT_TRUE(text.isEmpty());
}

TEST_F(HttpClientTest, FilesAreCappedInSize) {
    server.serve("/big", reply(Kind::Normal, bytesOf(300 * 1024)));
    server.serve("/big-unannounced", reply(Kind::NoLength, bytesOf(300 * 1024)));
    for (const char* path : {"/big", "/big-unannounced"}) {
        EXPECT_EQ(client.fetchFile(server.url(path), file()), FetchResult::Failed) << path;
        EXPECT_FALSE(QFile::exists(file())) << path;
    }
}

// The values follow the number of 10240-byte blocks read, not the bytes, and never go
// above 100.
TEST_F(HttpClientTest, ProgressFollowsTheBlocks) {
    const struct {
        const char* name;
        HttpReply reply;
        std::vector<int> expected;
    } cases[] = {
        {"two and a half blocks", reply(Kind::Normal, bytesOf(25600)), {2, 8, 10, 55, 100}},
        {"without a length", reply(Kind::NoLength, bytesOf(25600)), {2, 8, 10, 100}},
        {"ten blocks",
         reply(Kind::Normal, bytesOf(102400)),
         {2, 8, 10, 19, 28, 37, 46, 55, 64, 73, 82, 91, 100}},
        {"one block", reply(Kind::Normal, bytesOf(10240)), {2, 8, 10, 100}},
        {"less than a block", reply(Kind::Normal, bytesOf(5000)), {2, 8, 10, 100}},
        {"empty", reply(Kind::Normal, {}), {2, 8, 10, 100}},
        {"not found", reply(Kind::Normal, "gone", 0, 404), {2}},
        {"truncated", reply(Kind::Truncated, bytesOf(25600), 15000), {2, 8, 10, 55}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.serve("/archive.zip", c.reply);
        HttpClient fresh(shortLimits());
        std::vector<int> posted;
        fresh.fetchFile(server.url("/archive.zip"), file(), [&](int p) { posted.push_back(p); });
        EXPECT_EQ(posted, c.expected);
    }
}

TEST_F(HttpClientTest, ALaterDownloadStartsFromZero) {
    server.serveBody("/a", bytesOf(100));
    std::vector<int> posted;
    ASSERT_EQ(client.fetchFile(server.url("/a"), file(), [&](int p) { posted.push_back(p); }),
              FetchResult::Complete);
    posted.clear();
    ASSERT_EQ(client.fetchFile(server.url("/a"), file(), [&](int p) { posted.push_back(p); }),
              FetchResult::Complete);
    EXPECT_EQ(posted, (std::vector<int>{0, 2, 8, 10, 100}));
    EXPECT_EQ(client.lastProgress(), 100);
}

// corvane.example and mirror.example are resolved to the test server: without the
// address rules these requests would reach it.
TEST_F(HttpClientTest, PlainHttpGoesOnlyFromLoopbackToLoopback) {
    const std::string port = std::to_string(server.port());
    HttpClient::Limits limits = shortLimits();
    limits.fixedAddresses = {"corvane.example:" + port + ":127.0.0.1",
                             "mirror.example:" + port + ":127.0.0.1"};
    HttpClient mapped(limits);
    const std::string remote = "http://corvane.example:" + port;
    server.serveBody("/version", "1.0.2");
    HttpReply toRemote;
    toRemote.kind = Kind::Redirect;
    toRemote.location = "http://mirror.example:" + port + "/version";
    server.serve("/to-remote", toRemote);
    HttpReply toLoopback;
    toLoopback.kind = Kind::Redirect;
    toLoopback.location = "http://localhost:" + port + "/version";
    server.serve("/to-loopback", toLoopback);

    const struct {
        const char* name;
        std::string url;
        int expected;
        std::size_t requests; // that reach the server
    } cases[] = {
        {"plain http to another host", remote + "/version", FetchResult::Failed, 0},
        {"loopback redirected to plain http elsewhere", server.url("/to-remote").toStdString(),
         FetchResult::Failed, 1},
        {"loopback redirected to loopback", server.url("/to-loopback").toStdString(),
         FetchResult::Complete, 2},
        {"ftp", "ftp://127.0.0.1:" + port + "/version", FetchResult::Failed, 0},
        {"a file", "file:///etc/hostname", FetchResult::Failed, 0},
        {"no scheme", "version", FetchResult::Failed, 0},
        {"https without a host", "https://", FetchResult::Failed, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = server.requestCount();
        QString text;
        EXPECT_EQ(mapped.fetchText(QString::fromStdString(c.url), text), c.expected);
        EXPECT_EQ(server.requestCount() - before, c.requests);
        EXPECT_EQ(mapped.fetchFile(QString::fromStdString(c.url), file()), c.expected);
        EXPECT_EQ(QFile::exists(file()), c.expected == FetchResult::Complete);
    }
}

// --- TLS against an https server on 127.0.0.1 ---

HttpClient::Limits trusting(const test::TlsTestServer& tls) {
    HttpClient::Limits limits = shortLimits();
    limits.certificateAuthorities = tls.authorityFile().toStdString();
    return limits;
}

TEST_F(HttpClientTest, OnlyACertificateFromATrustedAuthorityForTheHostIsAccepted) {
    const struct {
        const char* name;
        test::TlsCertificate certificate;
        int expected;
    } cases[] = {
        {"issued by the trusted authority", test::TlsCertificate::Trusted, FetchResult::Complete},
        {"self-signed", test::TlsCertificate::SelfSigned, FetchResult::Failed},
        {"expired", test::TlsCertificate::Expired, FetchResult::Failed},
        {"for another host name", test::TlsCertificate::OtherHost, FetchResult::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TlsTestServer tls(c.certificate);
        ASSERT_TRUE(tls.isListening());
        tls.serveBody("/fw/mouse/firmware-106.zip", bytesOf(30000));
        tls.serveBody("/fw/mouse/version", "106");
        HttpClient client(trusting(tls));
        QString text;
        EXPECT_EQ(client.fetchText(tls.url("/fw/mouse/version"), text), c.expected);
        EXPECT_EQ(client.fetchFile(tls.url("/fw/mouse/firmware-106.zip"), file()), c.expected);
        if (c.expected == FetchResult::Complete) {
            EXPECT_EQ(text, QStringLiteral("106"));
            EXPECT_EQ(fileBytes(file()).toStdString(), bytesOf(30000));
        } else {
            EXPECT_TRUE(text.isEmpty());
            EXPECT_FALSE(QFile::exists(file()));
            EXPECT_EQ(tls.requestCount(), 0) << "nothing is asked of a server not trusted";
        }
    }
}

TEST_F(HttpClientTest, TheHostNameIsCheckedAgainstTheCertificate) {
    // The same certificate for corvane.example is good when that is the name asked for.
    test::TlsTestServer tls(test::TlsCertificate::OtherHost);
    ASSERT_TRUE(tls.isListening());
    tls.serveBody("/version", "1.0.2");
    HttpClient::Limits limits = trusting(tls);
    const QString port = QString::number(QUrl(tls.url()).port());
    limits.fixedAddresses = {"corvane.example:" + port.toStdString() + ":127.0.0.1"};
    HttpClient client(limits);
    QString text;
    EXPECT_EQ(
        client.fetchText(QStringLiteral("https://corvane.example:%1/version").arg(port), text),
        FetchResult::Complete);
    EXPECT_EQ(text, QStringLiteral("1.0.2"));
    EXPECT_EQ(client.fetchText(tls.url("/version"), text), FetchResult::Failed);
}

TEST_F(HttpClientTest, WithoutTheAuthorityTheTestCertificateIsRefused) {
    test::TlsTestServer tls(test::TlsCertificate::Trusted);
    ASSERT_TRUE(tls.isListening());
    tls.serveBody("/version", "1.0.2");
    QString text;
    EXPECT_EQ(client.fetchText(tls.url("/version"), text), FetchResult::Failed)
        << "the system's store does not hold the test authority";
    EXPECT_EQ(tls.requestCount(), 0);
}

TEST_F(HttpClientTest, HttpsRedirectsOnlyToHttps) {
    test::TlsTestServer tls(test::TlsCertificate::Trusted);
    ASSERT_TRUE(tls.isListening());
    server.serveBody("/version", "9.9.9");
    tls.serveBody("/version", "1.0.2");
    tls.serveRedirect("/to-http", server.url("/version").toStdString());
    tls.serveRedirect("/to-https", tls.url("/version").toStdString());
    HttpClient client(trusting(tls));
    QString text;
    EXPECT_EQ(client.fetchText(tls.url("/to-https"), text), FetchResult::Complete);
    EXPECT_EQ(text, QStringLiteral("1.0.2"));
    EXPECT_EQ(client.fetchText(tls.url("/to-http"), text), FetchResult::Failed)
        << "from https to plain http, even on the loopback";
    EXPECT_EQ(client.fetchFile(tls.url("/to-http"), file()), FetchResult::Failed);
    EXPECT_FALSE(QFile::exists(file()));
    EXPECT_EQ(server.requestCount(), 0u);
}

// --- transfers that cannot hold the caller ---

TEST_F(HttpClientTest, ARedirectsBodyIsNotRead) {
    server.serveBody("/moved", "1.0.2");
    HttpReply redirect;
    redirect.kind = Kind::Redirect;
    redirect.location = server.url("/moved").toStdString();
    redirect.body = bytesOf(5000);
    redirect.announcedLength = std::int64_t{1} << 32; // and then the connection ends
    server.serve("/redirect", redirect);
    QString text;
    EXPECT_EQ(client.fetchText(server.url("/redirect"), text), FetchResult::Complete);
    EXPECT_EQ(text, QStringLiteral("1.0.2"));
}

TEST_F(HttpClientTest, AVersionCheckEndsWithinItsTimeLimit) {
    HttpClient::Limits limits; // a stalled body alone would hold it for 30 s
    limits.textTimeout = std::chrono::milliseconds(300);
    HttpClient patient(limits);
    server.serve("/version", reply(Kind::Stall, "1.0.2", 2));
    HttpReply stalledRedirect = reply(Kind::StallBeforeHeaders, {});
    server.serve("/stalled", stalledRedirect);
    HttpReply redirect;
    redirect.kind = Kind::Redirect;
    redirect.location = server.url("/stalled").toStdString();
    server.serve("/redirect", redirect);
    for (const char* path : {"/version", "/redirect"}) {
        SCOPED_TRACE(path);
        auto fetch = std::async(std::launch::async, [&] {
            QString text;
            return patient.fetchText(server.url(path), text);
        });
        ASSERT_EQ(fetch.wait_for(std::chrono::seconds(15)), std::future_status::ready)
            << "the check is still waiting";
        EXPECT_EQ(fetch.get(), FetchResult::Failed);
    }
}

TEST(AddressRules, HttpsEverywhereAndPlainHttpOnlyOnTheLoopback) {
    const struct {
        const char* url;
        bool permitted;
    } addresses[] = {
        {"https://corvane.example/upgrade/version", true},
        {"https://127.0.0.1/x", true},
        {"http://127.0.0.1:8080/x", true},
        {"http://127.1.2.3/x", true},
        {"http://[::1]:80/x", true},
        {"http://localhost/x", true},
        {"http://corvane.example/x", false},
        {"http://10.0.0.1/x", false},
        {"http://[::2]/x", false},
        {"http://127.0.0.1.example.com/x", false},
        {"ftp://127.0.0.1/x", false},
        {"file:///etc/passwd", false},
        {"HTTPS://corvane.example/", true},
        {"", false},
    };
    for (const auto& a : addresses) {
        EXPECT_EQ(isPermittedAddress(QString::fromLatin1(a.url)), a.permitted) << a.url;
    }
    const QString loopback = QStringLiteral("http://127.0.0.1/a");
    const QString remote = QStringLiteral("https://corvane.example/a");
    EXPECT_TRUE(isPermittedRedirect(remote, QStringLiteral("https://mirror.example/a")));
    EXPECT_FALSE(isPermittedRedirect(remote, QStringLiteral("http://mirror.example/a")));
    EXPECT_FALSE(isPermittedRedirect(remote, QStringLiteral("http://127.0.0.1/a")));
    EXPECT_TRUE(isPermittedRedirect(loopback, QStringLiteral("http://localhost/b")));
    EXPECT_FALSE(isPermittedRedirect(loopback, QStringLiteral("http://mirror.example/b")));
}

TEST_F(HttpClientTest, CancellingStopsAStalledTransfer) {
    server.serve("/stall", reply(Kind::Stall, bytesOf(50000), 20000));
    HttpClient patient; // the default low-speed time would wait 30 s
    // Stopped, not Failed: the cancel ended it, not the 30 s low-speed limit.
    std::atomic<bool> asked{false};
    std::thread canceller([&] {
        asked = requestArrived(server);
        patient.cancel();
    });
    EXPECT_EQ(patient.fetchFile(server.url("/stall"), file()), FetchResult::Stopped);
    canceller.join();
    EXPECT_TRUE(asked) << "the transfer never reached the server";
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(HttpClientTest, TheCallerStoppingStopsATransfer) {
    server.serve("/stall", reply(Kind::StallBeforeHeaders, {}));
    HttpClient patient;
    std::atomic<bool> stopping{false};
    patient.setStopCheck([&] { return stopping.load(); });
    std::thread stopper([&] {
        requestArrived(server);
        stopping = true; // also after a hang, so that the fetch ends
    });
    QString text;
    EXPECT_EQ(patient.fetchText(server.url("/stall"), text), FetchResult::Stopped);
    stopper.join();
}

TEST_F(HttpClientTest, AFileThatCannotBeWrittenFailsTheDownload) {
    server.serveBody("/a", bytesOf(50000));
    // A folder that does not exist: the file cannot be made.
    EXPECT_EQ(client.fetchFile(server.url("/a"), dir.filePath(QStringLiteral("no/such/file"))),
              FetchResult::Failed);

    // A write that fails midway (the file size limit of the process), not only at the start.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = 20000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::vector<int> posted;
    const int result =
        client.fetchFile(server.url("/a"), file(), [&](int p) { posted.push_back(p); });
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_EQ(result, FetchResult::Failed);
    EXPECT_FALSE(QFile::exists(file()));
    EXPECT_NE(posted.back(), 100);
}

} // namespace
} // namespace corvane::update
