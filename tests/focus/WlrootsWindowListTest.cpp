// The wlroots window-list watcher against a scripted compositor, for what a real one does
// only now and then: windows retitled or renamed while focused, the focused window
// closing, the list finishing or its global going away.
#include "focus/WlrootsFocusWatcher.h"

#include "focus/WatcherChoice.h"

#include "FakeWindowList.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace corvane::focus {
namespace {

constexpr int kHang = 10000; // only catches a hang

class WlrootsWindowList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(compositor.running());
        QObject::connect(&watcher, &FocusWatcher::focused,
                         [this](const FocusedApp& app) { reports.push_back(app); });
        QObject::connect(&watcher, &FocusWatcher::lost, [this] { ++lost; });
    }
    bool reportsReach(std::size_t count) {
        return test::waitUntil([&] { return reports.size() >= count; }, kHang);
    }
    std::vector<QString> appIds() const {
        std::vector<QString> ids;
        for (const FocusedApp& app : reports)
            ids.push_back(app.appId);
        return ids;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("wayland-7"));
    test::FakeWindowList compositor{path};
    WlrootsFocusWatcher watcher{path.toLocal8Bit()};
    std::vector<FocusedApp> reports;
    int lost = 0;
};

TEST_F(WlrootsWindowList, OnlyAnotherAppIdOrWindowIsAFocusChangeNotANewTitle) {
    const int browser = compositor.open("firefox", "News", true);
    compositor.open("org.gnome.gedit", "notes.txt", false);
    ASSERT_TRUE(watcher.start());
    ASSERT_TRUE(reportsReach(1));

    // A page that retitles itself must not keep the profile from settling.
    compositor.retitle(browser, "News (1)");
    compositor.retitle(browser, "News (2)");
    const int game = compositor.open("steam_app_730", "Counter-Strike 2", true);
    compositor.setActivated(browser, false);
    ASSERT_TRUE(reportsReach(2));
    EXPECT_EQ(appIds(),
              (std::vector<QString>{QStringLiteral("firefox"), QStringLiteral("steam_app_730")}));
    EXPECT_EQ(reports[0].title, u"News");
    EXPECT_EQ(reports[1].title, u"Counter-Strike 2");

    compositor.setActivated(game, false);
    compositor.setActivated(browser, true);
    ASSERT_TRUE(reportsReach(4));
    EXPECT_TRUE(reports[2].empty()) << "the game lost the focus before the browser took it";
    EXPECT_EQ(reports[3].appId, u"firefox");
    EXPECT_EQ(reports[3].title, u"News (2)");
    EXPECT_EQ(lost, 0);
}

TEST_F(WlrootsWindowList, TheFocusedWindowClosingMeansNothingFocusedAndItsHandleIsReleased) {
    const int game = compositor.open("steam_app_730", "Counter-Strike 2", true);
    ASSERT_TRUE(watcher.start());
    ASSERT_TRUE(reportsReach(1));
    ASSERT_TRUE(compositor.handleHeld(game));

    compositor.close(game);
    ASSERT_TRUE(reportsReach(2));
    EXPECT_TRUE(reports[1].empty());
    EXPECT_TRUE(test::waitUntil([&] { return !compositor.handleHeld(game); }, kHang));

    // Windows opened later still arrive.
    compositor.open("org.gnome.gedit", "notes.txt", true);
    ASSERT_TRUE(reportsReach(3));
    EXPECT_EQ(reports[2].appId, u"org.gnome.gedit");
}

TEST_F(WlrootsWindowList, TheListFinishingOrItsGlobalGoingAwayEndsTheWatcher) {
    for (const bool finish : {true, false}) {
        SCOPED_TRACE(finish ? "finished" : "global removed");
        QTemporaryDir scratch;
        const QString socket = scratch.filePath(QStringLiteral("wayland-8"));
        test::FakeWindowList list(socket);
        ASSERT_TRUE(list.running());
        list.open("steam_app_730", "Counter-Strike 2", true);
        WlrootsFocusWatcher ending(socket.toLocal8Bit());
        int ended = 0;
        int seen = 0;
        QObject::connect(&ending, &FocusWatcher::lost, [&] { ++ended; });
        QObject::connect(&ending, &FocusWatcher::focused, [&](const FocusedApp&) { ++seen; });
        ASSERT_TRUE(ending.start());
        ASSERT_TRUE(test::waitUntil([&] { return seen == 1; }, kHang));

        if (finish)
            list.finish();
        else
            list.removeGlobal();
        ASSERT_TRUE(test::waitUntil([&] { return ended > 0; }, kHang));
        list.open("org.gnome.gedit", "notes.txt", true);
        QCoreApplication::processEvents();
        EXPECT_EQ(ended, 1);
        EXPECT_EQ(seen, 1);
    }
}

// The session's watcher knows Corvane's own window by the app id Qt gives it (the
// desktop file name), so that the follower leaves the profile alone while it is in front.
TEST_F(WlrootsWindowList, TheSessionsWatcherKnowsCorvanesOwnWindowByItsDesktopFileName) {
    QCoreApplication* app = QCoreApplication::instance();
    app->setProperty("desktopFileName", QStringLiteral("io.github.corvane.Corvane"));
    compositor.open("io.github.corvane.Corvane", "Corvane", true);
    QProcessEnvironment env;
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), path);
    const auto session = watcherForSession(env);
    app->setProperty("desktopFileName", QVariant());
    ASSERT_NE(session, nullptr);
    std::vector<FocusedApp> seen;
    QObject::connect(session.get(), &FocusWatcher::focused,
                     [&](const FocusedApp& focused) { seen.push_back(focused); });
    ASSERT_TRUE(session->start());
    ASSERT_TRUE(test::waitUntil([&] { return !seen.empty(); }, kHang));
    EXPECT_EQ(seen[0].appId, u"io.github.corvane.Corvane");
    EXPECT_EQ(seen[0].pid, QCoreApplication::applicationPid());
}

} // namespace
} // namespace corvane::focus
