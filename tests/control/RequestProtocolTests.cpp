// The local request protocol: what goes over the window's socket, and corvanectl's end
// of the socket against listeners that answer, refuse or vanish.
#include "control/local/LocalClient.h"
#include "control/local/PeerCredentials.h"
#include "control/requests/Request.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace corvane::control {
namespace {

using namespace std::chrono_literals;

Request sample() {
    Request request;
    request.command = QStringLiteral("bind");
    request.arguments = {QStringLiteral("back"), QStringLiteral("macro:Ünïcödé, \"quoted\"")};
    request.options = {{QStringLiteral("verbose"), QString()}, {QStringLiteral("stage"), "2"}};
    return request;
}

TEST(RequestProtocol, RequestsAndAnswersSurviveTheirLineOfJson) {
    const QByteArray line = encodeRequest(sample());
    EXPECT_FALSE(line.contains('\n')) << "one request is one line";
    EXPECT_EQ(decodeRequest(line), sample());

    const Answer answer{ExitCode::Usage, QStringLiteral("a\nb"), QStringLiteral("c")};
    EXPECT_FALSE(encodeAnswer(answer).contains('\n'));
    EXPECT_EQ(decodeAnswer(encodeAnswer(answer)), answer);
}

TEST(RequestProtocol, AnythingButAWellShapedRequestIsRefused) {
    const QByteArray longText = QByteArray(5000, 'x');
    const QByteArray manyArguments = "[" + QByteArray("\"a\",").repeated(70) + "\"a\"]";
    const char* const refused[] = {
        "",
        "not json",
        "[]",
        R"({"command":"show","action":"","arguments":[],"options":{},"extra":1})",
        R"({"command":5,"action":"","arguments":[],"options":{}})",
        R"({"command":"show","action":"","arguments":[1],"options":{}})",
        R"({"command":"show","action":"","arguments":"x","options":{}})",
        R"({"command":"show","action":"","arguments":[],"options":{"json":true}})",
        R"({"command":"show","action":"","arguments":[]})",
    };
    for (const char* json : refused)
        EXPECT_FALSE(decodeRequest(json)) << json;
    EXPECT_FALSE(decodeRequest(R"({"command":"show","action":"","arguments":[")" + longText +
                               R"("],"options":{}})"));
    EXPECT_FALSE(decodeRequest(R"({"command":"show","action":"","arguments":)" + manyArguments +
                               R"(,"options":{}})"));
    EXPECT_FALSE(decodeRequest(QByteArray(kMaxRequestBytes + 1, ' ')));
    EXPECT_FALSE(decodeAnswer(R"({"exit":7,"out":"","err":""})")) << "only 0, 1 and 2";
    EXPECT_FALSE(decodeAnswer(R"({"exit":0,"out":""})"));
}

// A listening socket that runs `serve` on each connection, on a thread of its own.
class Listener {
public:
    // `listenAs`: the user id the socket listens as (root only), -1 for this process's.
    explicit Listener(std::function<void(int connection)> serve, int listenAs = -1)
        : serve_(std::move(serve)) {
        path_ = dir_.filePath(QStringLiteral("socket"));
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = path_.toLocal8Bit();
        std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        if (listenAs >= 0) {
            EXPECT_EQ(::seteuid(static_cast<uid_t>(listenAs)), 0);
        }
        EXPECT_EQ(::listen(fd_, 4), 0); // the peer's credentials are taken here
        if (listenAs >= 0) {
            EXPECT_EQ(::seteuid(0), 0);
        }
        thread_ = std::thread([this] {
            const int connection = ::accept(fd_, nullptr, nullptr);
            if (connection >= 0) {
                serve_(connection);
                ::close(connection);
            }
        });
    }
    ~Listener() {
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        thread_.join();
    }
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
    int fd_ = -1;
    std::function<void(int)> serve_;
    std::thread thread_;
};

QByteArray readLine(int connection) {
    QByteArray line;
    char c = 0;
    while (::read(connection, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

TEST(LocalClient, TheWindowsAnswerComesBack) {
    QByteArray received;
    Listener window([&](int connection) {
        received = readLine(connection);
        EXPECT_TRUE(isSameUserPeer(connection));
        const QByteArray answer = encodeAnswer({0, QStringLiteral("shown"), QString()}) + '\n';
        ASSERT_EQ(::write(connection, answer.constData(), answer.size()), answer.size());
    });
    const Handover result = sendRequest(window.path(), sample(), 5s);
    ASSERT_EQ(result.status, Handover::Status::Answered);
    EXPECT_EQ(result.answer.out, QStringLiteral("shown"));
    EXPECT_EQ(received, "request " + encodeRequest(sample()));
}

// Someone else listening where the window's socket would be (the peer check says it
// runs as another user) gets no request and cannot answer in the window's name. Runs on
// any machine: the check stands in for the kernel's answer (the test below asks the
// kernel, as root).
TEST(LocalClient, AListenerThePeerCheckCallsAnotherUserGetsNoRequest) {
    QByteArray received;
    std::atomic<bool> answered = false;
    std::atomic<bool> served = false;
    auto stranger = std::make_unique<Listener>([&](int connection) {
        received = readLine(connection); // empty: the client hung up without a word
        const QByteArray answer = encodeAnswer({0, QStringLiteral("fake"), QString()}) + '\n';
        answered =
            ::send(connection, answer.constData(), answer.size(), MSG_NOSIGNAL) == answer.size();
        served = true;
    });
    int asked = 0;
    const Handover result = sendRequest(stranger->path(), sample(), 60s, [&](int descriptor) {
        ++asked;
        EXPECT_GE(descriptor, 0);
        return false;
    });
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(result.status, Handover::Status::Failed);
    EXPECT_TRUE(result.error.contains(QStringLiteral("another user")))
        << result.error.toStdString();
    EXPECT_TRUE(result.answer.out.isEmpty()) << "no answer taken in the window's name";
    // The listener has taken the connection and read until the client hung up.
    const auto hang = std::chrono::steady_clock::now() + 60s;
    while (!served && std::chrono::steady_clock::now() < hang)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(served);
    stranger.reset();
    EXPECT_TRUE(received.isEmpty()) << "the request was sent: " << received.toStdString();
    EXPECT_FALSE(answered) << "the client had hung up before any answer";
}

// The same, with the kernel telling: someone listening as another user.
TEST(LocalClient, AListenerOfAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "listening as another user needs root";
    std::atomic<bool> answered = false;
    Listener stranger(
        [&](int connection) {
            readLine(connection);
            const QByteArray answer = encodeAnswer({0, QStringLiteral("fake"), QString()}) + '\n';
            // The client may have hung up already: no SIGPIPE for the test process.
            answered = ::send(connection, answer.constData(), answer.size(), MSG_NOSIGNAL) ==
                       answer.size();
        },
        65534);
    const Handover result = sendRequest(stranger.path(), sample(), 5s);
    EXPECT_EQ(result.status, Handover::Status::Failed);
    EXPECT_TRUE(result.error.contains(QStringLiteral("another user")))
        << result.error.toStdString();
    EXPECT_FALSE(answered);
}

TEST(LocalClient, NoListenerAndListenersThatFailAreToldApart) {
    QTemporaryDir dir;
    EXPECT_EQ(sendRequest(dir.filePath(QStringLiteral("none")), sample(), 1s).status,
              Handover::Status::NoListener);
    EXPECT_EQ(sendRequest(QString(200, u'x'), sample(), 1s).status, Handover::Status::NoListener)
        << "a path too long for a socket";

    Listener closes([](int connection) { readLine(connection); });
    const Handover closed = sendRequest(closes.path(), sample(), 5s);
    EXPECT_EQ(closed.status, Handover::Status::Failed);
    EXPECT_FALSE(closed.error.isEmpty());

    Listener garbage([](int connection) {
        readLine(connection);
        ASSERT_EQ(::write(connection, "{\"exit\":\n", 9), 9);
    });
    EXPECT_EQ(sendRequest(garbage.path(), sample(), 5s).status, Handover::Status::Failed);

    std::atomic<bool> release = false;
    Listener silent([&](int connection) {
        readLine(connection);
        while (!release)
            std::this_thread::sleep_for(5ms);
    });
    const Handover late = sendRequest(silent.path(), sample(), 200ms);
    release = true;
    EXPECT_EQ(late.status, Handover::Status::Failed);
    EXPECT_TRUE(late.error.contains(QStringLiteral("in time")));
}

} // namespace
} // namespace corvane::control
