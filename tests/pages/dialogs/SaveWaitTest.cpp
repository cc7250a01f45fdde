#include "pages/PagesTest.h"

#include "pages/dialogs/SaveWaitDlg.h"
#include "ui/controls/StaticText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace corvane::pages::test {
namespace {

int saveWaitWindows() {
    int n = 0;
    for (ui::Dialog* window : ui::Dialog::windows())
        n += window->title() == QLatin1String(kSaveWaitTitle);
    return n;
}

TEST(SaveWaitTest, NothingIsShownWhenTheDeviceAsksForNoSaveTips) {
    auto main = showWindow();
    SaveWait wait(100);
    EXPECT_FALSE(wait.show(main.get(), false));
    EXPECT_FALSE(wait.show(main.get(), false));
    EXPECT_EQ(wait.window(), nullptr);
    EXPECT_EQ(saveWaitWindows(), 0);
}

TEST(SaveWaitTest, FirstShowCreatesTheWindowCentredOverTheMainWindowWithItsText) {
    auto main = showWindow({}, {200, 150, 900, 700});
    SaveWait wait(5000);
    ASSERT_TRUE(wait.show(main.get(), true));
    SaveWaitDlg* window = wait.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->title(), kSaveWaitTitle);
    EXPECT_EQ(window->size(), QSize(500, 200));
    EXPECT_EQ(window->frameGeometry().center(), main->frameGeometry().center());
    EXPECT_EQ(window->parentWidget(), main.get());
    EXPECT_EQ(window->control(SaveWaitDlg::kTextId)->text(), "Saving now");
    EXPECT_EQ(window->control(SaveWaitDlg::kTextId)->geometry(), ui::ltrb(10, 100, 490, 130));
    EXPECT_EQ(window->control(SaveWaitDlg::kProgressId)->geometry(), ui::ltrb(10, 130, 480, 150));

    ASSERT_TRUE(wait.show(main.get(), true));
    EXPECT_EQ(wait.window(), window) << "made once, kept for later calls";
    EXPECT_EQ(saveWaitWindows(), 1);

    wait.hide();
    EXPECT_FALSE(window->isVisible()) << "closing the pop-ups hides it at once";
    EXPECT_FALSE(window->isTimerRunning(SaveWaitDlg::kHideTimerId));
}

TEST(SaveWaitTest, HidesItselfAfterTheDurationWithTheBarRunningToTheEnd) {
    auto main = showWindow();
    SaveWait wait(300);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(wait.show(main.get(), true));
    SaveWaitDlg* window = wait.window();
    EXPECT_EQ(window->progress(), 0);
    ASSERT_TRUE(waitUntil([&] { return window->progress() > 0; }));
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    EXPECT_GE(clock.elapsed(), 280) << "not before its time (timers may be a little coarse)";
    // The bar moves every 50 ms (a sixth of the time here) and coarse timers may fire 5 %
    // early, so its last step can come a little more than a sixth before the end.
    EXPECT_GE(window->progress(), 75);

    // Shown again later, the bar starts from 0.
    ASSERT_TRUE(wait.show(main.get(), true));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->progress(), 0);
}

// The window's hide timer: the one of its timers that runs for the whole duration.
QTimer* hideTimerOf(SaveWaitDlg& window) {
    for (QTimer* timer : window.findChildren<QTimer*>()) {
        if (timer->interval() == window.durationMs())
            return timer;
    }
    return nullptr;
}

// A change within the shown time restarts it: the window stays until the duration after
// the last change.
TEST(SaveWaitTest, ACallWhileShownRestartsItsTime) {
    constexpr int duration = 1500;
    auto main = showWindow();
    SaveWait wait(duration);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(wait.show(main.get(), true));
    SaveWaitDlg* window = wait.window();
    QTimer* hideTimer = hideTimerOf(*window);
    ASSERT_NE(hideTimer, nullptr);

    // At 40 % of its time it is still there; call again. The time left can only shrink
    // unless the call starts it over, however slowly the machine runs.
    ASSERT_TRUE(waitUntil([&] { return clock.elapsed() >= duration * 4 / 10; }));
    ASSERT_TRUE(window->isVisible());
    const int leftBefore = hideTimer->remainingTime();
    const qint64 second = clock.elapsed();
    ASSERT_TRUE(wait.show(main.get(), true));
    EXPECT_GT(hideTimer->remainingTime(), leftBefore) << "the call did not restart its time";

    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    // Coarse timers may fire up to 5 % of their interval early.
    EXPECT_GE(clock.elapsed(), second + duration - duration / 20 - 5)
        << "hidden before the second deadline";
}

// The user goes on typing while it is shown, so it must neither take the focus nor become
// the active window. (The offscreen platform activates every window it shows, so only the
// request can be checked here.)
TEST(SaveWaitTest, AsksNotToTakeTheFocus) {
    auto main = showWindow();
    SaveWait wait(5000);
    ASSERT_TRUE(wait.show(main.get(), true));
    EXPECT_TRUE(wait.window()->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(wait.window()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(wait.window()->windowFlags().testFlag(Qt::Tool)) << "no task bar entry";
}

TEST(SaveWaitTest, StartBeforeTheWindowExistsDoesNothing) {
    SaveWaitDlg window(100);
    window.startSaveWait();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.isTimerRunning(SaveWaitDlg::kHideTimerId));
}

} // namespace
} // namespace corvane::pages::test
