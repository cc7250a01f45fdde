// The profile follows the focused application: a real X server (Xvfb) with two real
// windows of different classes, the test as its window manager, the main window with its
// worker and a virtual mouse. Judged by the report rate the mouse holds: profile 3 runs
// at 500 Hz, the default profile 1 at 1000 Hz.
#include "WindowTest.h"

#include "focus/ProfileFollower.h"
#include "focus/X11FocusWatcher.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "support/XvfbDisplay.h"
#include "virtualmouse/VirtualMouse.h"

namespace corvane::app::test {
namespace {

using FocusFollowing = WindowTest;

TEST_F(FocusFollowing, TheMouseTakesTheRulesProfileWhenTheGameHasTheFocusAndTheDefaultAfter) {
    if (!corvane::test::XvfbDisplay::installed())
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    corvane::test::XvfbDisplay x;
    ASSERT_TRUE(x.start());
    const auto game = x.window("cs2", "steam_app_730", "Counter-Strike 2", 4001);
    const auto editor = x.window("gedit", "Gedit", "notes.txt", 4002);

    vm::WiredMouseConfig m1;
    m1.productId = 0xC0A1;
    m1.mouse.deviceId = "CVM1";
    auto mouse = bus->addWiredMouse(m1);
    adjustContext = [&](WindowContext& context) {
        context.focusWatcher = [display = x.display()] {
            return std::make_unique<focus::X11FocusWatcher>(display);
        };
    };
    startWindow();
    waitForStart();
    focus::ProfileFollower* follower = window->profileFollower();
    ASSERT_NE(follower, nullptr);
    std::vector<int> switches;
    QObject::connect(follower, &focus::ProfileFollower::switched,
                     [&](int profile, const focus::FocusedApp&) { switches.push_back(profile); });

    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    ASSERT_EQ(window->workerState().currentProfile(), 1);
    for (int profile = 1; profile <= 4; ++profile) {
        const QString rate = profile == 3 ? QStringLiteral("2") : QStringLiteral("1");
        ASSERT_TRUE(db.setSetting(profile, u"report_rate", rate));
        ASSERT_TRUE(db.setSetting(profile, u"report_rate_wireless", rate));
    }
    ASSERT_TRUE(db.setProfileApps(3, QStringLiteral("steam_app_730")));
    ASSERT_TRUE(db.setDefaultAppProfile(1));

    x.activate(editor);
    x.activate(game);
    ASSERT_TRUE(waitUntil([&] { return reportRateHz(*mouse) == 500; }, 20000))
        << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, std::vector<int>{3});
    EXPECT_EQ(db.getCurrentProfile(), 3);

    x.activate(editor);
    ASSERT_TRUE(waitUntil([&] { return reportRateHz(*mouse) == 1000; }, 20000))
        << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, (std::vector<int>{3, 1}));
    EXPECT_EQ(db.getCurrentProfile(), 1);
}

} // namespace
} // namespace corvane::app::test
