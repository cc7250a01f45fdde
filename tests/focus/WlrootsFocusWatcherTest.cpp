// The wlroots window-list watcher against a real compositor: a headless sway (which offers
// the list) with two real Wayland clients, focus moved by sway's own IPC command; and
// against compositors it cannot watch: none listening, a bare one without the list, one
// that never answers. A Wayland session falls back to XWayland's windows only where the
// compositor has no list.
#include "focus/WlrootsFocusWatcher.h"

#include "FakeWindowList.h"
#include "focus/WatcherChoice.h"
#include "support/HeadlessSway.h"
#include "support/WaitUntil.h"
#include "support/XvfbDisplay.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace corvane::focus {
namespace {

using corvane::test::HeadlessSway;
using corvane::test::waitUntil;

struct Recorded {
    std::vector<FocusedApp> apps;
    int lost = 0;

    // The reports that named a window (an empty one only says the focus left one).
    std::vector<FocusedApp> named() const {
        std::vector<FocusedApp> out;
        for (const FocusedApp& app : apps) {
            if (!app.empty())
                out.push_back(app);
        }
        return out;
    }
    QString lastNamed() const {
        const auto all = named();
        return all.empty() ? QString() : all.back().appId;
    }
};

void record(FocusWatcher& watcher, Recorded& into) {
    QObject::connect(&watcher, &FocusWatcher::focused,
                     [&into](const FocusedApp& app) { into.apps.push_back(app); });
    QObject::connect(&watcher, &FocusWatcher::lost, [&into] { ++into.lost; });
}

class WlrootsOnSway : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HeadlessSway::installed())
            GTEST_SKIP() << "sway is not installed (scripts/setup installs it)";
        ASSERT_TRUE(sway.start()) << sway.error().constData();
        const QString program = QStringLiteral(CORVANE_WAYLAND_TEST_WINDOW);
        ASSERT_TRUE(sway.startClient(program, QStringLiteral("org.gnome.gedit"),
                                     QStringLiteral("notes.txt")));
        ASSERT_TRUE(sway.startClient(program, QStringLiteral("steam_app_730"),
                                     QStringLiteral("Counter-Strike 2")));
        ASSERT_TRUE(sway.waitForWindow(QStringLiteral("org.gnome.gedit")));
        ASSERT_TRUE(sway.waitForWindow(QStringLiteral("steam_app_730")));
        ASSERT_TRUE(sway.command(R"([app_id="org.gnome.gedit"] focus)"));
    }
    bool lastNamedIs(const Recorded& recorded, const char* appId) {
        return waitUntil([&] { return recorded.lastNamed() == QLatin1String(appId); },
                         HeadlessSway::kHang);
    }

    HeadlessSway sway;
};

TEST_F(WlrootsOnSway, ReportsTheActivatedWindowAtStartAndAtEachFocusChange) {
    WlrootsFocusWatcher watcher(sway.waylandSocket().toLocal8Bit());
    Recorded recorded;
    record(watcher, recorded);
    ASSERT_TRUE(watcher.start());

    // The windows open now arrive with their states: the editor has the focus.
    ASSERT_TRUE(lastNamedIs(recorded, "org.gnome.gedit"));
    ASSERT_TRUE(sway.command(R"([app_id="steam_app_730"] focus)"));
    ASSERT_TRUE(lastNamedIs(recorded, "steam_app_730"));
    ASSERT_TRUE(sway.command(R"([app_id="org.gnome.gedit"] focus)"));
    ASSERT_TRUE(lastNamedIs(recorded, "org.gnome.gedit"));

    const std::vector<FocusedApp> named = recorded.named();
    ASSERT_EQ(named.size(), 3u);
    EXPECT_EQ(named[0].title, u"notes.txt");
    EXPECT_EQ(named[1].appId, u"steam_app_730");
    EXPECT_EQ(named[1].title, u"Counter-Strike 2");
    for (const FocusedApp& app : named) {
        EXPECT_TRUE(app.instance.isEmpty());
        EXPECT_EQ(app.pid, 0) << "the window list names no process";
    }
    EXPECT_EQ(recorded.lost, 0);
}

TEST_F(WlrootsOnSway, CorvanesOwnWindowIsReportedWithItsOwnProcess) {
    // The game's app id stands for Corvane's own here.
    WlrootsFocusWatcher watcher(sway.waylandSocket().toLocal8Bit(),
                                QStringLiteral("steam_app_730"));
    Recorded recorded;
    record(watcher, recorded);
    ASSERT_TRUE(watcher.start());
    ASSERT_TRUE(lastNamedIs(recorded, "org.gnome.gedit"));
    ASSERT_TRUE(sway.command(R"([app_id="steam_app_730"] focus)"));
    ASSERT_TRUE(lastNamedIs(recorded, "steam_app_730"));
    EXPECT_EQ(recorded.named().front().pid, 0);
    EXPECT_EQ(recorded.named().back().pid, QCoreApplication::applicationPid());
}

// The session's choice: the window list where the compositor has one, XWayland's
// windows where it has not (see WaylandWithoutTheWindowList below).
TEST_F(WlrootsOnSway, IsPreferredToXWaylandsWindowsInAWaylandSession) {
    if (!test::XvfbDisplay::installed())
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    test::XvfbDisplay xwayland;
    ASSERT_TRUE(xwayland.start());
    QProcessEnvironment env;
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), sway.waylandSocket());
    env.insert(QStringLiteral("DISPLAY"), QString::fromLocal8Bit(xwayland.display()));
    const auto watcher = watcherForSession(env);
    ASSERT_NE(watcher, nullptr);
    Recorded recorded;
    record(*watcher, recorded);
    ASSERT_TRUE(watcher->start());
    EXPECT_EQ(watcher->name(), u"wlroots");
    ASSERT_TRUE(lastNamedIs(recorded, "org.gnome.gedit"));
}

TEST_F(WlrootsOnSway, ClosingTheFocusedWindowReleasesItAndTheFocusMovesOn) {
    WlrootsFocusWatcher watcher(sway.waylandSocket().toLocal8Bit());
    Recorded recorded;
    record(watcher, recorded);
    ASSERT_TRUE(watcher.start());
    ASSERT_TRUE(sway.command(R"([app_id="steam_app_730"] focus)"));
    ASSERT_TRUE(lastNamedIs(recorded, "steam_app_730"));
    const std::size_t before = recorded.named().size();

    // sway asks the game to close; the editor takes the focus.
    ASSERT_TRUE(sway.command(R"([app_id="steam_app_730"] kill)"));
    ASSERT_TRUE(lastNamedIs(recorded, "org.gnome.gedit"));
    EXPECT_EQ(recorded.named().size(), before + 1);
    EXPECT_EQ(recorded.lost, 0);
}

TEST_F(WlrootsOnSway, ACompositorThatExitsEndsTheWatcherCleanly) {
    WlrootsFocusWatcher watcher(sway.waylandSocket().toLocal8Bit());
    Recorded recorded;
    record(watcher, recorded);
    ASSERT_TRUE(watcher.start());
    ASSERT_TRUE(lastNamedIs(recorded, "org.gnome.gedit"));

    sway.stop();
    ASSERT_TRUE(waitUntil([&] { return recorded.lost > 0; }, HeadlessSway::kHang));
    const std::size_t reports = recorded.apps.size();
    // Nothing more comes, and the socket is no longer watched (no busy loop on it).
    QCoreApplication::processEvents();
    EXPECT_EQ(recorded.lost, 1);
    EXPECT_EQ(recorded.apps.size(), reports);
    EXPECT_FALSE(watcher.start());
}

// A compositor whose window list is gone: only the core globals remain.
std::shared_ptr<test::FakeWindowList> compositorWithoutTheList(const QString& path) {
    auto compositor = std::make_shared<test::FakeWindowList>(path);
    EXPECT_TRUE(compositor->running());
    compositor->removeGlobal();
    return compositor;
}

TEST(WlrootsFocusWatcher, SaysItCannotWatchWhereNoCompositorOffersTheWindowList) {
    struct Case {
        const char* what;
        std::function<std::shared_ptr<void>(const QString& path)> serve;
    };
    const Case cases[] = {
        {"nothing listening", [](const QString&) { return std::shared_ptr<void>(); }},
        {"a compositor without the window list",
         [](const QString& path) { return std::shared_ptr<void>(compositorWithoutTheList(path)); }},
        {"a socket that never answers",
         [](const QString& path) {
             auto server = std::make_shared<QLocalServer>();
             EXPECT_TRUE(server->listen(path));
             return std::shared_ptr<void>(server);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("wayland-9"));
        const std::shared_ptr<void> server = c.serve(path);
        WlrootsFocusWatcher watcher(path.toLocal8Bit());
        Recorded recorded;
        record(watcher, recorded);
        EXPECT_FALSE(watcher.start());
        QCoreApplication::processEvents();
        EXPECT_TRUE(recorded.apps.empty());
        EXPECT_EQ(recorded.lost, 0);
    }
}

TEST(WaylandWithoutTheWindowList, TheX11WatcherFollowsXWaylandsWindows) {
    if (!test::XvfbDisplay::installed())
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    test::XvfbDisplay xwayland;
    ASSERT_TRUE(xwayland.start());
    const auto game = xwayland.window("cs2", "steam_app_730", "Counter-Strike 2", 4001);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wayland-9"));
    const auto compositor = compositorWithoutTheList(path);

    QProcessEnvironment env;
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), path);
    env.insert(QStringLiteral("DISPLAY"), QString::fromLocal8Bit(xwayland.display()));
    const auto watcher = watcherForSession(env);
    ASSERT_NE(watcher, nullptr);
    Recorded recorded;
    record(*watcher, recorded);
    ASSERT_TRUE(watcher->start());
    EXPECT_EQ(watcher->name(), u"x11");
    xwayland.activate(game);
    ASSERT_TRUE(waitUntil([&] { return recorded.lastNamed() == u"steam_app_730"; },
                          test::XvfbDisplay::kHang));
    EXPECT_EQ(recorded.named().back().pid, 4001);
}

} // namespace
} // namespace corvane::focus
