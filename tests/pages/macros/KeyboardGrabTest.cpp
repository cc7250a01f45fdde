// The keyboard held while a macro is recorded ends, and says so once, when the window is
// deactivated or nobody typed for the idle limit; released, it says nothing.
#include "pages/macros/KeyboardGrab.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "support/WaitUntil.h"

namespace corvane::pages {
namespace {

struct Shown {
    Shown() {
        window.resize(200, 100);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QWidget window;
};

TEST(KeyboardGrab, AnotherActiveWindowEndsTheGrabOnce) {
    Shown shown;
    KeyboardGrab grab;
    int lost = 0;
    grab.hold(
        &shown.window, [&] { ++lost; }, 60000);
    EXPECT_TRUE(grab.isHeld());
    EXPECT_EQ(QWidget::keyboardGrabber(), &shown.window);
    QWidget other;
    other.show();
    other.activateWindow();
    EXPECT_TRUE(corvane::test::waitUntil([&] { return lost > 0; }, 60000));
    // Whatever the activation change posted has been delivered: still told once.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(grab.isHeld());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
}

// The limit is decided by the grab's clock, turned here by hand.
TEST(KeyboardGrab, NobodyTypingForTheLimitEndsItOnceUnlessKeysArrive) {
    Shown shown;
    KeyboardGrab grab;
    qint64 now = 1000;
    grab.setClock([&] { return now; });
    int lost = 0;
    grab.hold(
        &shown.window, [&] { ++lost; }, 500);
    for (int i = 0; i < 4; ++i) {
        now += 499;
        grab.checkIdle();
        grab.noteActivity();
    }
    EXPECT_EQ(lost, 0) << "keys keep it";
    now += 500;
    grab.checkIdle();
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(grab.isHeld());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    grab.checkIdle();
    EXPECT_EQ(lost, 1) << "told once";

    // Released before the limit: nothing to tell.
    grab.hold(
        &shown.window, [&] { ++lost; }, 500);
    grab.release();
    now += 1000;
    grab.checkIdle();
    EXPECT_EQ(lost, 1);
}

// The timer is what looks at the clock: past the limit, the next wake ends the grab.
TEST(KeyboardGrab, TheTimerEndsAGrabWhoseLimitHasPassed) {
    Shown shown;
    KeyboardGrab grab;
    qint64 now = 1000;
    grab.setClock([&] { return now; });
    int lost = 0;
    grab.hold(
        &shown.window, [&] { ++lost; }, 20);
    now += 20;
    EXPECT_TRUE(corvane::test::waitUntil([&] { return lost > 0; }, 60000));
    EXPECT_FALSE(grab.isHeld());
}

} // namespace
} // namespace corvane::pages
