// The DPI pop-up: its corner, what it shows, and how long.
#include "pages/PagesTest.h"

#include "pages/performance/DpiMsgDlg.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane::pages::test {
namespace {

TEST(DpiPopupTest, GoesTwoPixelsInsideTheLowerRightCornerOfTheWorkAreaOrOfTheWindow) {
    const QRect workArea(0, 0, 1920, 1040); // a panel below
    const QRect window(100, 50, 1300, 788);
    struct Case {
        bool canPlaceWindows;
        QRect expected;
    };
    for (const Case& c : {Case{true, ui::ltrb(1920 - 302, 1040 - 132, 1918, 1038)},
                          Case{false, ui::ltrb(1400 - 302, 838 - 132, 1398, 836)}}) {
        EXPECT_EQ(dpiPopupRect(workArea, window, c.canPlaceWindows), c.expected);
        EXPECT_EQ(c.expected.size(), QSize(300, 130));
    }
    // A second screen left of the first one.
    EXPECT_EQ(dpiPopupRect(QRect(-1280, 0, 1280, 1024), window, true),
              ui::ltrb(-302, 1024 - 132, -2, 1022));
}

TEST(DpiPopupTest, ShowsTheValueAndAShowWhileShownRestartsTheTime) {
    auto main = showWindow();
    DpiMsgDlg popup(2000);
    qint64 now = 0;
    popup.setClock([&] { return now; });
    popup.showDpi(800);
    EXPECT_FALSE(popup.isVisible()) << "nothing before the window exists";
    ASSERT_TRUE(popup.createOver(main.get()));
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(popup.title(), kDpiPopupTitle);
    EXPECT_EQ(popup.valueText(), "1600");

    popup.showDpi(800);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(popup.isTimerRunning(DpiMsgDlg::kHideTimerId));
    EXPECT_EQ(popup.size(), QSize(300, 130));
    EXPECT_EQ(popup.valueText(), "800");
    EXPECT_EQ(popup.barPosition(), 800);

    now = 1200;
    EXPECT_FALSE(popup.hideWhenDue());
    popup.showDpi(12000);
    EXPECT_EQ(popup.valueText(), "12000");
    EXPECT_EQ(popup.barPosition(), 12000);

    now = 2600;
    EXPECT_FALSE(popup.hideWhenDue()) << "2 s after the first value it is still shown";
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(popup.isTimerRunning(DpiMsgDlg::kHideTimerId)) << "woken again for the rest";
    now = 3199;
    EXPECT_FALSE(popup.hideWhenDue());
    now = 3200;
    EXPECT_TRUE(popup.hideWhenDue()) << "2 s after the second value";
    EXPECT_FALSE(popup.isVisible());
    EXPECT_FALSE(popup.isTimerRunning(DpiMsgDlg::kHideTimerId));
}

TEST(DpiPopupTest, ItsTimerHidesItOnceTheTimeHasPassed) {
    auto main = showWindow();
    DpiMsgDlg popup(300);
    ASSERT_TRUE(popup.createOver(main.get()));
    QElapsedTimer clock;
    clock.start();
    popup.showDpi(1600);
    ASSERT_TRUE(waitUntil([&] { return !popup.isVisible(); }, 10000));
    // A slow machine only makes it later; the steady clock never lets it go early.
    EXPECT_GE(clock.elapsed(), 300);
}

TEST(DpiPopupTest, TheCloseButtonHidesIt) {
    auto main = showWindow();
    DpiMsgDlg popup(5000);
    ASSERT_TRUE(popup.createOver(main.get()));
    popup.showDpi(1600);
    ASSERT_TRUE(popup.isVisible());
    QWidget* close = popup.control(DpiMsgDlg::kCloseId);
    QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
    EXPECT_FALSE(popup.isVisible());
    EXPECT_FALSE(popup.isTimerRunning(DpiMsgDlg::kHideTimerId));
}

} // namespace
} // namespace corvane::pages::test
