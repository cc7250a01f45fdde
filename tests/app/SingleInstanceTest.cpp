#include "TestSupport.h"

#include "app/desktop/DesktopIdentity.h"
#include "app/start/SingleInstance.h"
#include "control/local/LocalClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

using namespace corvane::app;
using corvane::app::test::ensureCoreApplication;
using corvane::app::test::writeFile;

namespace {

// Counts what an instance reports.
struct Received {
    explicit Received(SingleInstance& instance) {
        QObject::connect(&instance, &SingleInstance::showRequested, [this] { ++show; });
        QObject::connect(&instance, &SingleInstance::quitRequested, [this] { ++quit; });
        QObject::connect(&instance, &SingleInstance::retranslateRequested,
                         [this] { ++retranslate; });
    }
    int total() const { return show + quit + retranslate; }
    int show = 0;
    int quit = 0;
    int retranslate = 0;
};

// Runs the event loop until the condition holds; the deadline only ends a hang.
template <typename Condition> bool processEventsUntil(Condition condition) {
    QDeadlineTimer deadline(60000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { ensureCoreApplication(); }

    InstancePaths pathsFor(const QString& name) const {
        return instancePathsFor(name, dir.path(), QStringLiteral("/tmp"), 1000);
    }
    // Sends raw bytes and closes, as a client other than ours might.
    void sendRaw(const QString& socketPath, const QByteArray& bytes) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        ASSERT_TRUE(socket.waitForConnected(1000));
        socket.write(bytes);
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
    }

    QTemporaryDir dir;
};

TEST_F(SingleInstanceTest, PathsInTheRuntimeFolderElseUserSpecificInTemp) {
    const InstancePaths runtime = instancePathsFor(
        QStringLiteral("Mouse X"), QStringLiteral("/run/user/1000"), QStringLiteral("/tmp"), 1000);
    EXPECT_EQ(runtime.lockFile, QStringLiteral("/run/user/1000/Mouse X.lock"));
    EXPECT_EQ(runtime.socket, QStringLiteral("/run/user/1000/Mouse X.socket"));
    const unsigned me = ::getuid();
    const QString folder = dir.filePath(QStringLiteral("corvane-%1").arg(me));
    for (const QString& unusable : {QString(), QStringLiteral("run/relative")}) {
        const InstancePaths temp =
            instancePathsFor(QStringLiteral("Mouse X"), unusable, dir.path(), me);
        EXPECT_EQ(temp.lockFile, folder + QStringLiteral("/Mouse X.lock"));
        EXPECT_EQ(temp.socket, folder + QStringLiteral("/Mouse X.socket"));
    }
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

// The private folder in the temporary folder is used only when it is what we would have
// made: a real folder of this user that nobody else may enter.
TEST_F(SingleInstanceTest, APrivateFolderThatIsNotPrivateIsNotUsed) {
    const unsigned me = ::getuid();
    const QString folder = dir.filePath(QStringLiteral("corvane-%1").arg(me));
    const QByteArray path = QFile::encodeName(folder);
    ASSERT_EQ(corvane::control::privateTempFolder(dir.path(), me), folder);

    ASSERT_EQ(::chmod(path.constData(), 0755), 0);
    EXPECT_TRUE(corvane::control::privateTempFolder(dir.path(), me).isEmpty())
        << "others may enter";
    EXPECT_TRUE(
        instancePathsFor(QStringLiteral("Mouse"), QString(), dir.path(), me).socket.isEmpty());
    ASSERT_EQ(::chmod(path.constData(), 0700), 0);

    ASSERT_TRUE(QDir(folder).removeRecursively());
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder));
    EXPECT_TRUE(corvane::control::privateTempFolder(dir.path(), me).isEmpty())
        << "a link to a folder";
    ASSERT_TRUE(QFile::remove(folder));

    if (::geteuid() == 0) {
        ASSERT_EQ(::mkdir(path.constData(), 0700), 0);
        ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
        EXPECT_TRUE(corvane::control::privateTempFolder(dir.path(), me).isEmpty())
            << "made by another user";
    }
}

TEST_F(SingleInstanceTest, SecondStartIsRefusedAndTheFirstIsAskedToShow) {
    SingleInstance first(pathsFor(QStringLiteral("Mouse")));
    Received received(first);
    ASSERT_EQ(first.start(), SingleInstance::Role::Primary);
    EXPECT_TRUE(first.isListening());

    SingleInstance second(pathsFor(QStringLiteral("Mouse")));
    Received secondReceived(second);
    EXPECT_EQ(second.start(), SingleInstance::Role::Secondary);
    EXPECT_FALSE(second.isListening());

    EXPECT_TRUE(processEventsUntil([&] { return received.show == 1; }));
    // A command sent after it: once it arrived, anything the second start sent had too.
    EXPECT_TRUE(SingleInstance::sendCommand(first.paths().socket, "retranslate"));
    EXPECT_TRUE(processEventsUntil([&] { return received.retranslate == 1; }));
    EXPECT_EQ(received.total(), 2) << "one show, then the marker";
    EXPECT_EQ(secondReceived.total(), 0);
}

TEST_F(SingleInstanceTest, SecondStartHandsOverItsActivationToken) {
    SingleInstance first(pathsFor(QStringLiteral("Mouse")));
    Received received(first);
    ASSERT_EQ(first.start(), SingleInstance::Role::Primary);
    {
        corvane::app::test::ScopedEnv token("XDG_ACTIVATION_TOKEN", "kwin-42_x");
        SingleInstance second(pathsFor(QStringLiteral("Mouse")));
        EXPECT_EQ(second.start(), SingleInstance::Role::Secondary);
    }
    EXPECT_TRUE(processEventsUntil([&] { return received.show == 1; }));
    EXPECT_EQ(first.lastActivationToken(), QByteArray("kwin-42_x"));

    // A "show" without a token, or with one that is not a token, leaves none behind.
    for (const QByteArray& line :
         {QByteArray("show"), QByteArray("show a b"), QByteArray("show ") + QByteArray(256, 'x')}) {
        const int before = received.show;
        sendRaw(first.paths().socket, line + "\n");
        EXPECT_TRUE(processEventsUntil([&] { return received.show == before + 1; }))
            << line.left(20).constData();
        EXPECT_TRUE(first.lastActivationToken().isEmpty()) << line.left(20).constData();
    }
}

TEST(DesktopIdentity, NamesThePackagedDesktopEntry) {
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(CORVANE_SOURCE_DIR "/packaging/") +
                                  QString::fromLatin1(corvane::app::kDesktopFileName) +
                                  QStringLiteral(".desktop")));
}

TEST_F(SingleInstanceTest, LongRunningInstanceKeepsItsLock) {
    SingleInstance first(pathsFor(QStringLiteral("Mouse")));
    ASSERT_EQ(first.start(), SingleInstance::Role::Primary);
    // A lock file an hour old belongs to an instance that has simply run for an hour.
    std::filesystem::last_write_time(first.paths().lockFile.toStdString(),
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::hours(1));
    SingleInstance second(pathsFor(QStringLiteral("Mouse")));
    EXPECT_EQ(second.start(), SingleInstance::Role::Secondary);
    EXPECT_TRUE(first.isListening());
}

TEST_F(SingleInstanceTest, DifferentNamesRunSideBySide) {
    SingleInstance a(pathsFor(QStringLiteral("Mouse A")));
    SingleInstance b(pathsFor(QStringLiteral("Mouse B")));
    EXPECT_EQ(a.start(), SingleInstance::Role::Primary);
    EXPECT_EQ(b.start(), SingleInstance::Role::Primary);
    EXPECT_TRUE(a.isListening());
    EXPECT_TRUE(b.isListening());
}

TEST_F(SingleInstanceTest, QuitAndRetranslateArrive) {
    SingleInstance instance(pathsFor(QStringLiteral("Mouse")));
    Received received(instance);
    ASSERT_EQ(instance.start(), SingleInstance::Role::Primary);

    EXPECT_TRUE(SingleInstance::sendCommand(instance.paths().socket, "retranslate"));
    EXPECT_TRUE(processEventsUntil([&] { return received.retranslate == 1; }));
    EXPECT_TRUE(SingleInstance::sendCommand(instance.paths().socket, "quit"));
    EXPECT_TRUE(processEventsUntil([&] { return received.quit == 1; }));
    EXPECT_TRUE(SingleInstance::sendCommand(instance.paths().socket, "show")); // the marker
    EXPECT_TRUE(processEventsUntil([&] { return received.show == 1; }));
    EXPECT_EQ(received.total(), 3) << "each command once, then the marker";
}

TEST_F(SingleInstanceTest, SeveralCommandsOnOneConnectionUnknownOnesIgnored) {
    SingleInstance instance(pathsFor(QStringLiteral("Mouse")));
    Received received(instance);
    ASSERT_EQ(instance.start(), SingleInstance::Role::Primary);

    sendRaw(instance.paths().socket, "format\r\nretranslate\r\nSHOW\nshow");
    EXPECT_TRUE(processEventsUntil([&] { return received.show == 1; }));
    EXPECT_TRUE(SingleInstance::sendCommand(instance.paths().socket, "quit")); // the marker
    EXPECT_TRUE(processEventsUntil([&] { return received.quit == 1; }));
    EXPECT_EQ(received.retranslate, 1);
    EXPECT_EQ(received.show, 1) << "SHOW is not a command";
    EXPECT_EQ(received.total(), 3) << "retranslate and show, then the marker";
}

TEST_F(SingleInstanceTest, OverlongInputIsDroppedAndTheServerKeepsListening) {
    SingleInstance instance(pathsFor(QStringLiteral("Mouse")));
    Received received(instance);
    ASSERT_EQ(instance.start(), SingleInstance::Role::Primary);

    sendRaw(instance.paths().socket, QByteArray(4096, 'x') + "show\n");
    // A command sent afterwards is the marker: once it arrived, the overlong one was read.
    EXPECT_TRUE(SingleInstance::sendCommand(instance.paths().socket, "show"));
    EXPECT_TRUE(processEventsUntil([&] { return received.show >= 1; }));
    EXPECT_EQ(received.total(), 1) << "only the marker: the overlong line's show was dropped";
}

TEST_F(SingleInstanceTest, AnEndedInstanceFreesTheName) {
    {
        SingleInstance first(pathsFor(QStringLiteral("Mouse")));
        ASSERT_EQ(first.start(), SingleInstance::Role::Primary);
    }
    EXPECT_FALSE(QFileInfo::exists(pathsFor(QStringLiteral("Mouse")).lockFile));
    EXPECT_FALSE(
        SingleInstance::sendCommand(pathsFor(QStringLiteral("Mouse")).socket, "show", 200));
    SingleInstance next(pathsFor(QStringLiteral("Mouse")));
    EXPECT_EQ(next.start(), SingleInstance::Role::Primary);
    EXPECT_TRUE(next.isListening());
}

TEST_F(SingleInstanceTest, LockLeftByACrashedInstanceIsTakenOver) {
    const InstancePaths paths = pathsFor(QStringLiteral("Mouse"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The crashed instance: takes the lock and dies without releasing it.
        QLockFile lock(paths.lockFile);
        lock.setStaleLockTime(0);
        ::_exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFileInfo::exists(paths.lockFile));

    SingleInstance instance(paths);
    Received received(instance);
    EXPECT_EQ(instance.start(), SingleInstance::Role::Primary);
    EXPECT_TRUE(SingleInstance::sendCommand(paths.socket, "show"));
    EXPECT_TRUE(processEventsUntil([&] { return received.show == 1; }));
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedInstanceIsReplaced) {
    const InstancePaths paths = pathsFor(QStringLiteral("Mouse"));
    // A bound socket whose owner is gone: the file stays, nobody accepts.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = paths.socket.toLocal8Bit();
    ASSERT_LT(static_cast<size_t>(name.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(paths.socket));

    SingleInstance instance(paths);
    Received received(instance);
    EXPECT_EQ(instance.start(), SingleInstance::Role::Primary);
    EXPECT_TRUE(instance.isListening());
    EXPECT_TRUE(SingleInstance::sendCommand(paths.socket, "show"));
    EXPECT_TRUE(processEventsUntil([&] { return received.show == 1; }));
}

TEST_F(SingleInstanceTest, HeldLockWithoutListenerStillEndsTheSecondStart) {
    // The first instance is still starting: it holds the lock but does not listen yet.
    const InstancePaths paths = pathsFor(QStringLiteral("Mouse"));
    QLockFile starting(paths.lockFile);
    ASSERT_TRUE(starting.tryLock(0));
    SingleInstance second(paths, nullptr, std::chrono::milliseconds(200));
    EXPECT_EQ(second.start(), SingleInstance::Role::Secondary);
}

TEST_F(SingleInstanceTest, ALockGivenBackWhileWaitingIsTaken) {
    // corvanectl holds the lock for the length of one command.
    const InstancePaths paths = pathsFor(QStringLiteral("Mouse"));
    auto command = std::make_unique<QLockFile>(paths.lockFile);
    ASSERT_TRUE(command->tryLock(0));
    std::thread done([&command] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        command->unlock();
    });
    SingleInstance window(paths, nullptr, std::chrono::milliseconds(5000));
    EXPECT_EQ(window.start(), SingleInstance::Role::Primary);
    EXPECT_TRUE(window.isListening());
    done.join();
}

// corvanectl's side runs on a thread of its own while the instance's event loop runs.
class RequestClient {
public:
    RequestClient(const QString& socket, corvane::control::Request request)
        : thread([this, socket, request] {
              result = corvane::control::sendRequest(socket, request, std::chrono::seconds(5));
              finished = true;
          }) {}
    ~RequestClient() { thread.join(); }
    std::atomic<bool> finished = false;
    corvane::control::Handover result;

private:
    std::thread thread;
};

TEST_F(SingleInstanceTest, ARequestIsHandedToTheHandlerAndAnsweredOnItsConnection) {
    SingleInstance instance(pathsFor(QStringLiteral("Mouse")));
    ASSERT_EQ(instance.start(), SingleInstance::Role::Primary);
    QByteArray received;
    SingleInstance::Reply pending;
    instance.setRequestHandler([&](const QByteArray& request, SingleInstance::Reply reply) {
        received = request;
        pending = std::move(reply); // answered later, as after the mouse's work
    });
    corvane::control::Request request;
    request.command = QStringLiteral("set");
    request.action = QStringLiteral("rate");
    request.arguments = {QStringLiteral("500")};
    RequestClient client(instance.paths().socket, request);
    ASSERT_TRUE(processEventsUntil([&] { return bool(pending); }));
    EXPECT_EQ(corvane::control::decodeRequest(received), request);
    pending(corvane::control::encodeAnswer({1, QStringLiteral("out"), QStringLiteral("err")}));
    ASSERT_TRUE(processEventsUntil([&] { return client.finished.load(); }));
    ASSERT_EQ(client.result.status, corvane::control::Handover::Status::Answered);
    EXPECT_EQ(client.result.answer,
              (corvane::control::Answer{1, QStringLiteral("out"), QStringLiteral("err")}));
}

TEST_F(SingleInstanceTest, RequestsWithoutAHandlerOrTooLongAreRefusedAndTheServerListensOn) {
    SingleInstance instance(pathsFor(QStringLiteral("Mouse")));
    Received received(instance);
    ASSERT_EQ(instance.start(), SingleInstance::Role::Primary);
    {
        RequestClient client(instance.paths().socket, corvane::control::Request{});
        ASSERT_TRUE(processEventsUntil([&] { return client.finished.load(); }));
        ASSERT_EQ(client.result.status, corvane::control::Handover::Status::Answered);
        EXPECT_EQ(client.result.answer.exitCode, corvane::control::ExitCode::Failure);
    }
    int handled = 0;
    instance.setRequestHandler([&](const QByteArray&, SingleInstance::Reply) { ++handled; });
    sendRaw(instance.paths().socket,
            "request " + QByteArray(corvane::control::kMaxRequestBytes + 64, 'x') + "\n");
    // A command sent afterwards is the marker: once it arrived, the long request was read.
    EXPECT_TRUE(SingleInstance::sendCommand(instance.paths().socket, "show"));
    EXPECT_TRUE(processEventsUntil([&] { return received.show == 1; }));
    EXPECT_EQ(handled, 0);
}

// A connection the peer check says is another user's is closed unread, whatever the
// socket's file mode let through; this user's next command is still taken. Runs on any
// machine: the check stands in for the kernel's answer (the test below asks the kernel,
// as root).
TEST_F(SingleInstanceTest, AConnectionOfAnotherUserIsClosedUnread) {
    SingleInstance instance(pathsFor(QStringLiteral("Mouse")));
    ASSERT_EQ(instance.start(), SingleInstance::Role::Primary);
    Received received(instance);
    int handled = 0;
    instance.setRequestHandler([&](const QByteArray&, SingleInstance::Reply) { ++handled; });
    bool stranger = true;
    int asked = 0;
    instance.setPeerCheck([&](int descriptor) {
        ++asked;
        EXPECT_GE(descriptor, 0);
        return !stranger;
    });

    QLocalSocket other;
    other.connectToServer(instance.paths().socket);
    ASSERT_TRUE(other.waitForConnected(60000));
    other.write("request {\"command\":\"reset\",\"action\":\"\",\"arguments\":[],"
                "\"options\":{\"yes\":\"\"}}\nshow\n");
    other.flush();
    ASSERT_TRUE(processEventsUntil([&] { return other.state() == QLocalSocket::UnconnectedState; }))
        << "the window hung up";
    EXPECT_TRUE(other.readAll().isEmpty()) << "and said nothing";

    // The same user's command, sent after the refused one: once it arrived, the refused
    // one had its chance.
    stranger = false;
    EXPECT_TRUE(SingleInstance::sendCommand(instance.paths().socket, "show"));
    ASSERT_TRUE(processEventsUntil([&] { return received.show == 1; }));
    EXPECT_EQ(handled, 0) << "the other user's request never ran";
    EXPECT_EQ(asked, 2);
}

TEST_F(SingleInstanceTest, AnotherUsersRequestIsRefusedEvenThroughAnOpenSocket) {
    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    SingleInstance instance(pathsFor(QStringLiteral("Mouse")));
    Received received(instance);
    ASSERT_EQ(instance.start(), SingleInstance::Role::Primary);
    int handled = 0;
    instance.setRequestHandler([&](const QByteArray&, SingleInstance::Reply) { ++handled; });
    // As if someone had opened the folder and the socket to everybody.
    const QByteArray socketPath = QFile::encodeName(instance.paths().socket);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    ASSERT_EQ(::chmod(socketPath.constData(), 0777), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another user connects and sends a request; it must get no answer.
        if (::setuid(65534) != 0)
            ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, socketPath.constData(),
                    static_cast<size_t>(socketPath.size()));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            ::_exit(3);
        const char line[] = "request {\"command\":\"reset\",\"action\":\"\",\"arguments\":[],"
                            "\"options\":{\"yes\":\"\"}}\n";
        [[maybe_unused]] ssize_t sent = ::write(fd, line, sizeof line - 1);
        char answer = 0;
        ::_exit(::read(fd, &answer, 1) <= 0 ? 0 : 4); // closed (or reset) without a word
    }
    int status = -1;
    bool ended = false;
    ASSERT_TRUE(processEventsUntil([&] {
        ended = ended || ::waitpid(child, &status, WNOHANG) == child;
        return ended;
    }));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // Our own command after it: once it arrived, the refused request had its chance.
    EXPECT_TRUE(SingleInstance::sendCommand(instance.paths().socket, "show"));
    EXPECT_TRUE(processEventsUntil([&] { return received.show == 1; }));
    EXPECT_EQ(handled, 0);
}

TEST_F(SingleInstanceTest, NoLockPossibleRunsUnguarded) {
    writeFile(dir.path() + QStringLiteral("/file"), "x");
    SingleInstance instance(instancePathsFor(QStringLiteral("Mouse"),
                                             dir.path() + QStringLiteral("/file/run"),
                                             QStringLiteral("/tmp"), 1000));
    EXPECT_EQ(instance.start(), SingleInstance::Role::Primary);
    EXPECT_FALSE(instance.isListening());
}

} // namespace
