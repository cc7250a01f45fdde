// The keyboard on the tab column and the list's in-place edit, and a window drawn at
// another interface scale.
#include "UiTest.h"

#include "ui/controls/ListBox.h"
#include "ui/controls/PushButton.h"
#include "ui/views/TabControl.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane::ui::test {
namespace {

TEST(KeyboardTest, TabColumnIsReachedWithTabAndChosenWithArrows) {
    auto d = showDialog([](RecordingDialog& r) {
        r.add<PushButton>(1, QRect(10, 10, 100, 30));
        auto* tabs = r.add<TabControl>(5, QRect(200, 10, 190, 240));
        tabs->addItem("Home", 1);
        tabs->addItem("Keys", 2);
        tabs->addItem("Light", 5);
        tabs->addItem("Set", 7);
        tabs->setItemVisible(2, false);
        tabs->setCurrentIndex(0);
    });
    auto* tabs = d->find<TabControl>(5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(waitUntil([&] { return tabs->hasFocus(); }));
    d->notes.clear();
    for (Qt::Key key :
         {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Home, Qt::Key_Up, Qt::Key_End})
        QTest::keyClick(tabs, key);
    // Down: Keys, then Set (Light is hidden), then nothing past the end; Home: Home; Up at
    // the top: nothing; End: Set.
    std::vector<int> chosen;
    for (const Note& n : d->notes) {
        if (n.code == Notify::Click)
            chosen.push_back(n.p2);
    }
    EXPECT_EQ(chosen, (std::vector<int>{2, 7, 1, 7}));
    EXPECT_EQ(tabs->currentItemId(), 7);
}

TEST(KeyboardTest, ListChoosesOnClickOrReturnAndEditsInPlace) {
    auto d = showDialog([](RecordingDialog& r) {
        auto* list = r.add<ListBox>(4, QRect(10, 10, 200, 160));
        list->addItem("one", 11);
        list->addItem("two", 22);
        list->setEditable(true);
        list->setCurrentIndex(0);
    });
    auto* list = d->find<ListBox>(4);
    auto* view = list->findChild<QListWidget*>();
    auto chosen = [&] {
        std::vector<std::pair<int, int>> out;
        for (const Note& n : d->notes) {
            if (n.code == Notify::ItemChosen || n.code == Notify::EditEnded)
                out.push_back({n.code, n.p2});
        }
        return out;
    };
    d->notes.clear();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualItemRect(view->item(1)).center());
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(chosen(), (std::vector<std::pair<int, int>>{{Notify::ItemChosen, 22},
                                                          {Notify::ItemChosen, 22}}));

    d->notes.clear();
    QTest::keyClick(view, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(list->isEditing());
    editor->selectAll();
    QTest::keyClicks(editor, "Work");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(waitUntil([&] { return !list->isEditing(); })) << "Return commits (queued)";
    EXPECT_EQ(chosen(), (std::vector<std::pair<int, int>>{{Notify::EditEnded, 22}}))
        << "the end of an edit is no choice";
    EXPECT_EQ(list->itemText(1), "Work");
    EXPECT_FALSE(list->isEditing());
    list->setItemText(1, "two");
    EXPECT_EQ(chosen().size(), 1u) << "text set in code reports nothing";
}

TEST(ScaleTest, ControlsAndFontsAreDrawnAtTheInterfaceScale) {
    auto d = showDialog(
        [](RecordingDialog& r) {
            auto* button = r.add<PushButton>(1, QRect(100, 40, 200, 40));
            button->setTextFont({}, 20);
        },
        {400, 300});
    auto* button = d->control(1);
    EXPECT_EQ(d->designClient(), QRect(0, 0, 400, 300));

    d->setInterfaceScale(0.5);
    d->resize(200, 150);
    EXPECT_EQ(d->designClient(), QRect(0, 0, 400, 300)) << "layout still in design pixels";
    EXPECT_EQ(button->geometry(), QRect(50, 20, 100, 20));
    EXPECT_EQ(button->font().pixelSize(), 10);

    // A rectangle set in design pixels later is drawn scaled by the next pass; one left
    // alone keeps its design rectangle.
    auto* other = d->add<PushButton>(2, QRect(0, 0, 40, 40));
    EXPECT_EQ(other->geometry(), QRect(0, 0, 20, 20));
    other->setGeometry(80, 80, 60, 60);
    d->scaleControls();
    EXPECT_EQ(other->geometry(), QRect(40, 40, 30, 30));
    EXPECT_EQ(button->geometry(), QRect(50, 20, 100, 20));

    d->setInterfaceScale(1.0);
    EXPECT_EQ(button->geometry(), QRect(100, 40, 200, 40));
    EXPECT_EQ(other->geometry(), QRect(80, 80, 60, 60));
    EXPECT_EQ(button->font().pixelSize(), 20);
}

} // namespace
} // namespace corvane::ui::test
