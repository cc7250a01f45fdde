// Pop-up menus: the chosen command reaches the owner window as a message.

#include "UiTest.h"

#include "ui/controls/Menu.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane::ui::test {
namespace {

QMenu* openMenu() {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
    }
    return menu;
}

TEST(MenuTest, ChosenCommandArrivesAsCommandMessageAfterTheMenuClosed) {
    auto owner = showDialog({});
    bool menuOpenOnArrival = true;
    owner->onWindowMessage = [&](const WindowMessage&) {
        menuOpenOnArrival = QApplication::activePopupWidget() != nullptr;
    };
    PopupMenu menu;
    menu.addItem("Show", 101);
    menu.addSeparator();
    menu.addItem("Exit", 100);
    menu.addItem("Greyed", 102, false);
    ASSERT_TRUE(menu.popup(owner.get(), owner->mapToGlobal(QPoint(20, 20))));
    QMenu* shown = openMenu();
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->actions().size(), 4);

    QAction* exit = shown->actions().at(2);
    QTest::mouseClick(shown, Qt::LeftButton, {}, shown->actionGeometry(exit).center());
    ASSERT_TRUE(waitUntil([&] { return !owner->messages.empty(); }));
    EXPECT_EQ(owner->messages, (std::vector<WindowMessage>{{Message::Command, 100, 0}}));
    EXPECT_FALSE(menuOpenOnArrival);
}

TEST(MenuTest, ClosingWithoutAChoiceSendsNothing) {
    auto owner = showDialog({});
    PopupMenu menu;
    EXPECT_FALSE(menu.popup(owner.get(), {0, 0})) << "an empty menu is not shown";
    menu.addItem("Exit", 100);
    EXPECT_FALSE(menu.popup(nullptr, {0, 0}));
    ASSERT_TRUE(menu.popup(owner.get(), owner->mapToGlobal(QPoint(20, 20))));
    ASSERT_NE(openMenu(), nullptr);
    closePopupMenus();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    // Whatever closing the menu posted has been delivered.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(owner->messages.empty());
}

} // namespace
} // namespace corvane::ui::test
