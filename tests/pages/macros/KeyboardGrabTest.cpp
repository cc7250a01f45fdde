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
    EXPECT_TRUE(corvane::test::waitUntil([&] { return lost > 0; }, 3000));
    QTest::qWait(20);
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(grab.isHeld());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
}

TEST(KeyboardGrab, NobodyTypingEndsItUnlessKeysArrive) {
    Shown shown;
    KeyboardGrab grab;
    int lost = 0;
    grab.hold(
        &shown.window, [&] { ++lost; }, 150);
    for (int i = 0; i < 4; ++i) {
        QTest::qWait(60);
        grab.noteActivity();
    }
    EXPECT_EQ(lost, 0) << "keys keep it";
    EXPECT_TRUE(corvane::test::waitUntil([&] { return lost > 0; }, 3000));
    EXPECT_FALSE(grab.isHeld());

    // Released before the limit: nothing to tell.
    grab.hold(
        &shown.window, [&] { ++lost; }, 50);
    grab.release();
    QTest::qWait(120);
    EXPECT_EQ(lost, 1);
}

} // namespace
} // namespace corvane::pages
