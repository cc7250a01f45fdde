// The sway/i3 and Hyprland watchers against local servers that play back what those
// compositors send.
#include "focus/HyprlandFocusWatcher.h"
#include "focus/SwayFocusWatcher.h"

#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace corvane::focus {
namespace {

constexpr int kHang = 10000; // only catches a hang

QByteArray i3Message(quint32 type, const QByteArray& payload) {
    QByteArray bytes("i3-ipc");
    const quint32 length = quint32(payload.size());
    bytes.append(reinterpret_cast<const char*>(&length), 4);
    bytes.append(reinterpret_cast<const char*>(&type), 4);
    return bytes + payload;
}

struct Recorded {
    std::vector<FocusedApp> apps;
    bool lost = false;
};

void record(FocusWatcher& watcher, Recorded& into) {
    QObject::connect(&watcher, &FocusWatcher::focused,
                     [&into](const FocusedApp& app) { into.apps.push_back(app); });
    QObject::connect(&watcher, &FocusWatcher::lost, [&into] { into.lost = true; });
}

class LocalServer {
public:
    LocalServer() {
        path = dir.filePath(QStringLiteral("ipc.sock"));
        server.listen(path);
    }
    QLocalSocket* accept() {
        if (!test::waitUntil([&] { return server.hasPendingConnections(); }, kHang))
            return nullptr;
        return server.nextPendingConnection();
    }
    QTemporaryDir dir;
    QString path;
    QLocalServer server;
};

TEST(SwayFocusWatcher, SubscribesToWindowEventsAndReportsFocusChangesOnly) {
    LocalServer sway;
    ASSERT_TRUE(sway.server.isListening());
    SwayFocusWatcher watcher(sway.path);
    Recorded seen;
    record(watcher, seen);
    ASSERT_TRUE(watcher.start());
    QLocalSocket* client = sway.accept();
    ASSERT_NE(client, nullptr);

    const QByteArray subscribe = i3Message(2, R"(["window"])");
    QByteArray asked;
    ASSERT_TRUE(test::waitUntil(
        [&] {
            asked += client->readAll();
            return asked.size() >= subscribe.size();
        },
        kHang));
    EXPECT_EQ(asked, subscribe);

    // The answer, a window opening (no focus change), a Wayland window taking the focus,
    // then an XWayland one; the last message arrives in two pieces.
    QByteArray stream = i3Message(2, R"({"success":true})");
    stream += i3Message(0x80000003u, R"({"change":"new","container":{"app_id":"foot"}})");
    stream += i3Message(0x80000003u, R"({"change":"focus","container":{"app_id":"foot",)"
                                     R"("name":"~/src","pid":4242,"window_properties":null}})");
    const QByteArray last =
        i3Message(0x80000003u, R"({"change":"focus","container":{"app_id":null,"name":"CS2",)"
                               R"("pid":77,"window_properties":{"class":"steam_app_730",)"
                               R"("instance":"cs2"}}})");
    client->write(stream + last.left(20));
    client->flush();
    ASSERT_TRUE(test::waitUntil([&] { return seen.apps.size() >= 1; }, kHang));
    client->write(last.mid(20));
    client->flush();
    ASSERT_TRUE(test::waitUntil([&] { return seen.apps.size() >= 2; }, kHang));

    EXPECT_EQ(seen.apps[0],
              (FocusedApp{QStringLiteral("foot"), {}, QStringLiteral("~/src"), 4242}));
    EXPECT_EQ(seen.apps[1], (FocusedApp{QStringLiteral("steam_app_730"), QStringLiteral("cs2"),
                                        QStringLiteral("CS2"), 77}));
    client->disconnectFromServer();
    EXPECT_TRUE(test::waitUntil([&] { return seen.lost; }, kHang));
    EXPECT_EQ(seen.apps.size(), 2u);
}

TEST(SwayFocusWatcher, AStreamThatIsNotTheProtocolIsClosed) {
    LocalServer sway;
    SwayFocusWatcher watcher(sway.path);
    Recorded seen;
    record(watcher, seen);
    ASSERT_TRUE(watcher.start());
    QLocalSocket* client = sway.accept();
    ASSERT_NE(client, nullptr);
    client->write(QByteArray("HTTP/1.1 200 OK\r\n\r\n"));
    client->flush();
    EXPECT_TRUE(test::waitUntil([&] { return seen.lost; }, kHang));
    EXPECT_TRUE(seen.apps.empty());
}

TEST(SwayFocusWatcher, NoCompositorMeansNoWatcher) {
    QTemporaryDir dir;
    SwayFocusWatcher watcher(dir.filePath(QStringLiteral("missing.sock")));
    EXPECT_FALSE(watcher.start());
}

TEST(HyprlandFocusWatcher, ReportsActiveWindowLinesFromTheEventSocket) {
    LocalServer hyprland;
    HyprlandFocusWatcher watcher(hyprland.path);
    Recorded seen;
    record(watcher, seen);
    ASSERT_TRUE(watcher.start());
    QLocalSocket* client = hyprland.accept();
    ASSERT_NE(client, nullptr);

    // Recorded from a session: a workspace change, a terminal, then a game whose title
    // holds commas; the stream is cut in the middle of a line.
    const QByteArray stream = "workspace>>2\n"
                              "activewindow>>kitty,~/src\n"
                              "activewindowv2>>55d1f0a0\n"
                              "activewindow>>steam_app_730,Counter-Strike 2, the game\n"
                              "activewindowv2>>55d1f0b8\n";
    client->write(stream.left(40));
    client->flush();
    ASSERT_TRUE(test::waitUntil([&] { return seen.apps.size() >= 1; }, kHang));
    client->write(stream.mid(40));
    client->flush();
    ASSERT_TRUE(test::waitUntil([&] { return seen.apps.size() >= 2; }, kHang));
    EXPECT_EQ(seen.apps[0], (FocusedApp{QStringLiteral("kitty"), {}, QStringLiteral("~/src"), 0}));
    EXPECT_EQ(
        seen.apps[1],
        (FocusedApp{
            QStringLiteral("steam_app_730"), {}, QStringLiteral("Counter-Strike 2, the game"), 0}));
    // Nothing is ever written to the event socket.
    EXPECT_EQ(client->bytesAvailable(), 0);
    client->disconnectFromServer();
    EXPECT_TRUE(test::waitUntil([&] { return seen.lost; }, kHang));
    EXPECT_EQ(seen.apps.size(), 2u);
}

TEST(HyprlandFocusWatcher, OurOwnWindowIsKnownByItsClassAndReportedWithOurProcess) {
    LocalServer hyprland;
    HyprlandFocusWatcher watcher(hyprland.path, QStringLiteral("io.github.corvane.Corvane"));
    Recorded seen;
    record(watcher, seen);
    ASSERT_TRUE(watcher.start());
    QLocalSocket* client = hyprland.accept();
    ASSERT_NE(client, nullptr);
    client->write("activewindow>>io.github.corvane.Corvane,Corvane\n"
                  "activewindow>>kitty,~/src\n");
    client->flush();
    ASSERT_TRUE(test::waitUntil([&] { return seen.apps.size() >= 2; }, kHang));
    // The follower leaves the profile alone for a window of this process.
    EXPECT_EQ(seen.apps[0].pid, QCoreApplication::applicationPid());
    EXPECT_EQ(seen.apps[1].pid, 0);
}

} // namespace
} // namespace corvane::focus
