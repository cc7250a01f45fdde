// The main window on a small screen: the whole interface drawn smaller, at one scale.
#include "WindowTest.h"

#include "app/window/MainWindowIds.h"
#include "ui/views/TabControl.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

namespace corvane::app::test {
namespace {

using WindowFitting = WindowTest;

TEST_F(WindowFitting, TheWholeInterfaceFitsASmallScreen) {
    startWindow();
    waitForStart();
    window->showConfigurationView();

    // A 1366 x 768 screen with a 40-pixel panel.
    const QRect area(0, 0, 1366, 728);
    window->fitToArea(area, 1.0);
    const double scale = 728.0 / 788;
    EXPECT_DOUBLE_EQ(window->interfaceScale(), scale);
    EXPECT_EQ(window->size(), QSize(1201, 728));
    EXPECT_TRUE(area.contains(window->geometry()));

    // Everything keeps its design proportions: the tab column, the page beside it, the
    // close button in the corner, the tab items and the text.
    const QRect pages = window->control(MainControl::ButtonsPage)->geometry();
    EXPECT_NEAR(pages.left(), (190 + 12) * scale, 1); // the tab column and the frame's margin
    EXPECT_LE(window->control(MainControl::Close)->geometry().right(), window->width());
    EXPECT_NEAR(window->control(MainControl::Close)->geometry().width(), 36 * scale, 1);
    auto* tabs = window->find<ui::TabControl>(MainControl::Tabs);
    EXPECT_NEAR(tabs->itemRect(1).height(), 60 * scale, 1);
    EXPECT_NEAR(window->control(MainControl::Title)->font().pixelSize(), 18 * scale, 1);

    // The offscreen platform's own screen (800 x 600 by default) is smaller still.
    window->fitToScreen();
    const QRect available = window->screen()->availableGeometry();
    EXPECT_LE(window->width(), available.width());
    EXPECT_LE(window->height(), available.height());
    EXPECT_LT(window->interfaceScale(), scale);
}

TEST_F(WindowFitting, DoubleClickOnTheCaptionMaximisesAndRestores) {
    startWindow();
    waitForStart();
    window->fitToArea(QRect(0, 0, 1366, 728), 1.0);
    const QPoint caption(window->width() / 3, 8);
    QTest::mouseDClick(window.get(), Qt::LeftButton, {}, caption);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isMaximized(); }, 2000));
    QTest::mouseDClick(window.get(), Qt::LeftButton, {}, caption);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isMaximized(); }, 2000));
}

} // namespace
} // namespace corvane::app::test
