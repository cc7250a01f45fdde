// The profile follows the focused application, on real desktops: a real X server (Xvfb)
// with two real windows of different classes and the test as its window manager, and a
// real headless sway with two real Wayland clients, watched through its IPC socket and
// through the wlroots window list, and Hyprland's event stream played back from a
// recording over a local socket. The main window runs with its worker
// and a virtual mouse, and is judged by the report rate the mouse holds: profile 3 (the
// game's) runs at 500 Hz, the default profile 1 at 1000 Hz.
#include "WindowTest.h"

#include "focus/HyprlandFocusWatcher.h"
#include "focus/ProfileFollower.h"
#include "focus/SwayFocusWatcher.h"
#include "focus/WlrootsFocusWatcher.h"
#include "focus/X11FocusWatcher.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "support/HeadlessSway.h"
#include "support/XvfbDisplay.h"
#include "virtualmouse/VirtualMouse.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>

namespace corvane::app::test {
namespace {

class FocusFollowing : public WindowTest {
protected:
    // Starts the window with `watcher` and a wired mouse; profile 3 is the game's (500 Hz),
    // profile 1 the default (1000 Hz), every other profile 1000 Hz.
    void startFollowing(std::function<std::unique_ptr<focus::FocusWatcher>()> watcher) {
        vm::WiredMouseConfig m1;
        m1.productId = 0xC0A1;
        m1.mouse.deviceId = "CVM1";
        mouse = bus->addWiredMouse(m1);
        adjustContext = [watcher](WindowContext& context) { context.focusWatcher = watcher; };
        startWindow();
        waitForStart();
        focus::ProfileFollower* follower = window->profileFollower();
        ASSERT_NE(follower, nullptr);
        QObject::connect(
            follower, &focus::ProfileFollower::switched,
            [this](int profile, const focus::FocusedApp&) { switches.push_back(profile); });
        store::ProfileDatabase& db = store::ProfileDatabase::instance();
        ASSERT_EQ(window->workerState().currentProfile(), 1);
        for (int profile = 1; profile <= 4; ++profile) {
            const QString rate = profile == 3 ? QStringLiteral("2") : QStringLiteral("1");
            ASSERT_TRUE(db.setSetting(profile, u"report_rate", rate));
            ASSERT_TRUE(db.setSetting(profile, u"report_rate_wireless", rate));
        }
        ASSERT_TRUE(db.setProfileApps(3, QStringLiteral("steam_app_730")));
        ASSERT_TRUE(db.setDefaultAppProfile(1));
    }
    // The deadline only catches a hang: a first start of a Wayland client builds its font
    // cache, which takes long under the sanitizers.
    bool mouseRunsAt(int hz) {
        return waitUntil([&] { return reportRateHz(*mouse) == hz; }, 60000);
    }

    void followOnSway(
        std::function<std::unique_ptr<focus::FocusWatcher>(const corvane::test::HeadlessSway&)>
            watcher);

    std::shared_ptr<vm::WiredMouse> mouse;
    std::vector<int> switches;
};

TEST_F(FocusFollowing, TheMouseTakesTheRulesProfileWhenTheGameHasTheFocusAndTheDefaultAfter) {
    if (!corvane::test::XvfbDisplay::installed())
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    corvane::test::XvfbDisplay x;
    ASSERT_TRUE(x.start());
    const auto game = x.window("cs2", "steam_app_730", "Counter-Strike 2", 4001);
    const auto editor = x.window("gedit", "Gedit", "notes.txt", 4002);
    startFollowing(
        [display = x.display()] { return std::make_unique<focus::X11FocusWatcher>(display); });
    if (HasFatalFailure())
        return;

    x.activate(editor);
    x.activate(game);
    ASSERT_TRUE(mouseRunsAt(500)) << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, std::vector<int>{3});
    EXPECT_EQ(store::ProfileDatabase::instance().getCurrentProfile(), 3);

    x.activate(editor);
    ASSERT_TRUE(mouseRunsAt(1000)) << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, (std::vector<int>{3, 1}));
    EXPECT_EQ(store::ProfileDatabase::instance().getCurrentProfile(), 1);
}

// On a headless sway, watched through `watcher` (made for sway's IPC socket and Wayland
// socket): both windows mapped, then the focus moved to the game as a key binding would,
// then back to the editor.
void FocusFollowing::followOnSway(
    std::function<std::unique_ptr<focus::FocusWatcher>(const corvane::test::HeadlessSway&)>
        watcher) {
    if (!corvane::test::HeadlessSway::installed())
        GTEST_SKIP() << "sway is not installed (scripts/setup installs it)";
    corvane::test::HeadlessSway sway;
    ASSERT_TRUE(sway.start()) << sway.error().constData();
    startFollowing([&sway, watcher] { return watcher(sway); });
    if (HasFatalFailure())
        return;

    const QString program = QStringLiteral(CORVANE_WAYLAND_TEST_WINDOW);
    ASSERT_TRUE(
        sway.startClient(program, QStringLiteral("org.gnome.gedit"), QStringLiteral("notes.txt")));
    ASSERT_TRUE(sway.startClient(program, QStringLiteral("steam_app_730"),
                                 QStringLiteral("Counter-Strike 2")));
    ASSERT_TRUE(sway.waitForWindow(QStringLiteral("org.gnome.gedit")));
    ASSERT_TRUE(sway.waitForWindow(QStringLiteral("steam_app_730")));
    ASSERT_TRUE(sway.command(R"([app_id="org.gnome.gedit"] focus)"));
    ASSERT_TRUE(sway.command(R"([app_id="steam_app_730"] focus)"));
    ASSERT_TRUE(mouseRunsAt(500)) << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, std::vector<int>{3});

    ASSERT_TRUE(sway.command(R"([app_id="org.gnome.gedit"] focus)"));
    ASSERT_TRUE(mouseRunsAt(1000)) << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, (std::vector<int>{3, 1}));
    EXPECT_EQ(store::ProfileDatabase::instance().getCurrentProfile(), 1);
}

TEST_F(FocusFollowing, OnSwayTheGamesWaylandWindowTakesItsProfileAndTheEditorTheDefault) {
    followOnSway([](const corvane::test::HeadlessSway& sway) {
        return std::make_unique<focus::SwayFocusWatcher>(sway.ipcSocket());
    });
}

// Other wlroots compositors are watched through their window list, which sway offers too.
TEST_F(FocusFollowing, OnAWlrootsCompositorTheWindowListMovesTheMouseToTheRulesProfileAndBack) {
    followOnSway([](const corvane::test::HeadlessSway& sway) {
        return std::make_unique<focus::WlrootsFocusWatcher>(sway.waylandSocket().toLocal8Bit());
    });
}

TEST_F(FocusFollowing, OnHyprlandTheActiveWindowEventsSwitchTheMouseAndBack) {
    // Hyprland's event socket, played back: what a session sent while the user moved
    // between a terminal, the game (whose title holds a comma) and back.
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString path = runtime.filePath(QStringLiteral(".socket2.sock"));
    QLocalServer hyprland;
    ASSERT_TRUE(hyprland.listen(path));
    startFollowing([path] { return std::make_unique<focus::HyprlandFocusWatcher>(path); });
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(waitUntil([&] { return hyprland.hasPendingConnections(); }));
    QLocalSocket* events = hyprland.nextPendingConnection();
    auto send = [events](const QByteArray& lines) {
        events->write(lines);
        events->flush();
    };

    send("workspace>>2\n"
         "activewindow>>kitty,~/src\n"
         "activewindowv2>>55d1f0a0\n"
         "activewindow>>steam_app_730,Counter-Strike 2, the game\n"
         "activewindowv2>>55d1f0b8\n");
    ASSERT_TRUE(mouseRunsAt(500)) << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, std::vector<int>{3});

    send("activewindow>>kitty,~/src\nactivewindowv2>>55d1f0a0\n");
    ASSERT_TRUE(mouseRunsAt(1000)) << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, (std::vector<int>{3, 1}));
    // Nothing is ever written to the event socket.
    EXPECT_EQ(events->bytesAvailable(), 0);
}

} // namespace
} // namespace corvane::app::test
