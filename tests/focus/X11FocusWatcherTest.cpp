// The X11 watcher against a real X server (Xvfb) with two real windows of different
// classes; the test sets _NET_ACTIVE_WINDOW on the root window as a window manager does.
#include "focus/X11FocusWatcher.h"
#include "focus/ProfileFollower.h"

#include "support/WaitUntil.h"

#include <QProcess>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace corvane::focus {
namespace {

constexpr int kHang = 10000; // only catches a hang

class X11Session : public ::testing::Test {
protected:
    void SetUp() override {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
        // -displayfd 1: the server picks a free display and writes its number on stdout.
        m_server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                              QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                              QStringLiteral("-screen"), QStringLiteral("0"),
                              QStringLiteral("320x240x24")});
        ASSERT_TRUE(m_server.waitForStarted(kHang));
        ASSERT_TRUE(test::waitUntil([&] { return m_server.canReadLine(); }, kHang));
        m_display = ":" + m_server.readLine().trimmed();
        m_wm = xcb_connect(m_display.constData(), nullptr);
        ASSERT_FALSE(xcb_connection_has_error(m_wm));
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_wm)).data->root;
    }
    void TearDown() override {
        if (m_wm)
            xcb_disconnect(m_wm);
        m_server.terminate();
        m_server.waitForFinished(kHang);
    }

    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            m_wm, xcb_intern_atom(m_wm, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : 0;
        std::free(reply);
        return value;
    }

    // A window with WM_CLASS instance\0class\0, a title and a process id.
    xcb_window_t window(const char* instance, const char* cls, const char* title, uint32_t pid) {
        const xcb_window_t id = xcb_generate_id(m_wm);
        xcb_create_window(m_wm, XCB_COPY_FROM_PARENT, id, m_root, 0, 0, 50, 50, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        QByteArray wmClass = QByteArray(instance) + '\0' + cls + '\0';
        xcb_change_property(m_wm, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            uint32_t(wmClass.size()), wmClass.constData());
        xcb_change_property(m_wm, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_NAME"),
                            atom("UTF8_STRING"), 8, uint32_t(std::strlen(title)), title);
        xcb_change_property(m_wm, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL,
                            32, 1, &pid);
        xcb_map_window(m_wm, id);
        xcb_flush(m_wm);
        return id;
    }

    void activate(xcb_window_t id) {
        xcb_change_property(m_wm, XCB_PROP_MODE_REPLACE, m_root, atom("_NET_ACTIVE_WINDOW"),
                            XCB_ATOM_WINDOW, 32, 1, &id);
        xcb_flush(m_wm);
    }

    QProcess m_server;
    QByteArray m_display;
    xcb_connection_t* m_wm = nullptr;
    xcb_window_t m_root = 0;
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
