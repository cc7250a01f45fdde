// The X11 watcher against a real X server (Xvfb) with two real windows of different
// classes; the test sets _NET_ACTIVE_WINDOW on the root window as a window manager does.
#include "focus/X11FocusWatcher.h"
#include "focus/ProfileFollower.h"

#include "support/WaitUntil.h"
#include "support/XvfbDisplay.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace corvane::focus {
namespace {

constexpr int kHang = 10000; // only catches a hang

class X11Session : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::XvfbDisplay::installed())
            GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
        ASSERT_TRUE(m_x.start());
        m_display = m_x.display();
    }
    xcb_window_t window(const char* instance, const char* cls, const char* title, uint32_t pid) {
        return m_x.window(instance, cls, title, pid);
    }
    void activate(xcb_window_t id) { m_x.activate(id); }

    test::XvfbDisplay m_x;
    QByteArray m_display;
};

TEST_F(X11Session, ReportsTheActiveWindowsClassInstanceTitleAndProcess) {
    const xcb_window_t game = window("cs2", "steam_app_730", "Counter-Strike 2", 4001);
    const xcb_window_t editor = window("gedit", "Gedit", "notes.txt", 4002);
    X11FocusWatcher watcher(m_display);
    std::vector<FocusedApp> seen;
    QObject::connect(&watcher, &FocusWatcher::focused,
                     [&](const FocusedApp& app) { seen.push_back(app); });
    ASSERT_TRUE(watcher.start());
    // No active window yet: start() reports nothing focused.
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].empty());

    activate(game);
    ASSERT_TRUE(test::waitUntil([&] { return seen.size() >= 2; }, kHang));
    EXPECT_EQ(seen[1], (FocusedApp{QStringLiteral("steam_app_730"), QStringLiteral("cs2"),
                                   QStringLiteral("Counter-Strike 2"), 4001}));
    activate(editor);
    ASSERT_TRUE(test::waitUntil([&] { return seen.size() >= 3; }, kHang));
    EXPECT_EQ(seen[2], (FocusedApp{QStringLiteral("Gedit"), QStringLiteral("gedit"),
                                   QStringLiteral("notes.txt"), 4002}));
}

TEST_F(X11Session, TheProfileFollowsTheFocusAfterItSettlesAndReturnsToTheDefault) {
    const xcb_window_t game = window("cs2", "steam_app_730", "Counter-Strike 2", 4001);
    const xcb_window_t editor = window("gedit", "Gedit", "notes.txt", 4002);
    const xcb_window_t term = window("xterm", "XTerm", "shell", 4003);
    X11FocusWatcher watcher(m_display);
    int current = 1;
    std::vector<int> switches;
    ProfileFollower::Hooks hooks;
    hooks.rules = [] {
        AppRules rules;
        rules.apps[2] = {QStringLiteral("steam_app_730")};
        rules.defaultProfile = 1;
        return rules;
    };
    hooks.currentProfile = [&] { return current; };
    hooks.switchTo = [&](int profile) {
        switches.push_back(profile);
        current = profile;
    };
    ProfileFollower follower(hooks);
    QObject::connect(&watcher, &FocusWatcher::focused, &follower, &ProfileFollower::focusChanged);
    ASSERT_TRUE(watcher.start());

    // Alt+Tab through the windows, ending on the game: one switch, to profile 3.
    for (xcb_window_t id : {editor, term, game, editor, game})
        activate(id);
    ASSERT_TRUE(test::waitUntil([&] { return !switches.empty(); }, kHang));
    EXPECT_EQ(switches, std::vector<int>{3});
    EXPECT_EQ(follower.focusedNow().appId, QStringLiteral("steam_app_730"));

    // A window without a rule: back to the default profile.
    activate(term);
    ASSERT_TRUE(test::waitUntil([&] { return switches.size() >= 2; }, kHang));
    EXPECT_EQ(switches, (std::vector<int>{3, 1}));

    // Paused: the game holds the focus long enough and nothing switches; then the pause
    // is lifted and the next settled focus on it switches again.
    std::vector<QString> settled;
    QObject::connect(&follower, &ProfileFollower::settled,
                     [&](const FocusedApp& app) { settled.push_back(app.appId); });
    follower.setPaused(true);
    activate(game);
    ASSERT_TRUE(test::waitUntil([&] { return !settled.empty(); }, kHang));
    EXPECT_EQ(settled.back(), QStringLiteral("steam_app_730"));
    EXPECT_EQ(switches, (std::vector<int>{3, 1}));
    follower.setPaused(false);
    activate(editor);
    activate(game);
    ASSERT_TRUE(test::waitUntil([&] { return switches.size() >= 3; }, kHang));
    EXPECT_EQ(switches, (std::vector<int>{3, 1, 3}));
}

} // namespace
} // namespace corvane::focus
