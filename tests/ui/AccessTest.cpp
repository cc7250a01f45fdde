// What a screen reader reads of the controls: roles, names, states, values and actions,
// what it reads after the user changes something with the keyboard, and the focus ring.
#include "UiTest.h"

#include "ui/access/Accessibility.h"
#include "ui/access/FocusRing.h"
#include "ui/base/Skin.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/Picture.h"
#include "ui/views/TabControl.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane::ui::test {
namespace {

class Access : public ::testing::Test {
protected:
    // The events themselves reach only a live accessibility bus (the offscreen platform
    // has none); the screen-reader test hears them there.
    void SetUp() override {
        installAccessibility();
        installFocusRing();
    }

    static QAccessibleInterface* of(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
    // The stock widget a control hosts: the one that carries the focus.
    static QAccessibleInterface* inner(Control* c) { return of(c->focusProxy()); }

    std::unique_ptr<RecordingDialog> build() {
        return showDialog([](RecordingDialog& r) {
            r.add<PushButton>(1, QRect(10, 10, 100, 30))->setText("Apply");
            auto* toggle = r.add<PushButton>(2, QRect(120, 10, 60, 30));
            toggle->setText("Ctrl");
            toggle->setCheckable(true);
            auto* link = r.add<PushButton>(3, QRect(190, 10, 100, 30));
            link->setText("Website");
            link->setLinkStyle(true);
            auto* box = r.add<CheckBox>(4, QRect(10, 50, 200, 24));
            box->setText("Motion sync");
            box->setToolTip("Smooths the sensor's reports");
            auto* radio = r.add<RadioButton>(5, QRect(10, 80, 200, 24));
            radio->setText("1.0mm");
            radio->setGroup("lod");
            radio->setChecked(true);
            auto* combo = r.add<ComboBox>(6, QRect(10, 110, 200, 30));
            combo->addItem("500Hz", 500);
            combo->addItem("1000Hz", 1000);
            combo->setCurrentIndex(1);
            combo->setToolTip("Report rate");
            auto* slider = r.add<Slider>(7, QRect(10, 150, 200, 24));
            slider->setRange(0, 10);
            slider->setPosition(4);
            slider->setAccessibleText("Brightness");
            r.add<NumberField>(8, QRect(10, 180, 100, 30))->setToolTip("DPI");
            r.add<StaticText>(9, QRect(10, 220, 200, 24))->setText("Sensor");
            auto* tabs = r.add<TabControl>(10, QRect(300, 60, 190, 240));
            tabs->addItem("Home", 1);
            tabs->addItem("Buttons", 2);
            tabs->setCurrentIndex(0);
            tabs->setAccessibleText("Pages");
            auto* hidden = r.add<Panel>(11, QRect(300, 320, 300, 150));
            r.add<CheckBox>(12, QRect(0, 0, 200, 24), hidden)->setText("On a hidden page");
            auto* list = r.add<ListBox>(13, QRect(0, 30, 200, 100), hidden);
            list->addItem("Wave");
            list->setAccessibleText("Effects");
            hidden->hide();
        });
    }
};

TEST_F(Access, EveryKindOfControlHasItsRoleNameAndStates) {
    auto d = build();
    struct Row {
        QAccessibleInterface* face;
        QAccessible::Role role;
        const char* name;
        bool checkable;
        bool checked;
    };
    const Row rows[] = {
        {of(d->control(1)), QAccessible::PushButton, "Apply", false, false},
        {of(d->control(2)), QAccessible::PushButton, "Ctrl", true, false},
        {of(d->control(3)), QAccessible::Link, "Website", false, false},
        {of(d->control(4)), QAccessible::CheckBox, "Motion sync", true, false},
        {of(d->control(5)), QAccessible::RadioButton, "1.0mm", true, true},
        {inner(d->control(6)), QAccessible::ComboBox, "Report rate", false, false},
        {inner(d->control(7)), QAccessible::Slider, "Brightness", false, false},
        {inner(d->control(8)), QAccessible::EditableText, "DPI", false, false},
        {of(d->control(9)), QAccessible::StaticText, "Sensor", false, false},
        {of(d->control(10)), QAccessible::PageTabList, "Pages", false, false},
        {of(d->control(10))->child(1), QAccessible::PageTab, "Buttons", true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(row.face, nullptr);
        EXPECT_EQ(row.face->role(), row.role);
        EXPECT_EQ(row.face->text(QAccessible::Name), QString::fromUtf8(row.name));
        EXPECT_EQ(row.face->state().checkable, row.checkable);
        EXPECT_EQ(row.face->state().checked, row.checked);
        EXPECT_FALSE(row.face->state().invisible);
    }
    // The tooltip is the description; the value of a drop-down and a slider is read.
    EXPECT_EQ(of(d->control(4))->text(QAccessible::Description), "Smooths the sensor's reports");
    EXPECT_EQ(inner(d->control(6))->text(QAccessible::Value), "1000Hz");
    ASSERT_NE(inner(d->control(7))->valueInterface(), nullptr);
    EXPECT_EQ(inner(d->control(7))->valueInterface()->currentValue().toInt(), 4);
    // The buttons offer their action; a press through it is a click.
    EXPECT_TRUE(of(d->control(1))
                    ->actionInterface()
                    ->actionNames()
                    .contains(QAccessibleActionInterface::pressAction()));
    of(d->control(4))->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(d->find<CheckBox>(4)->isChecked());
    EXPECT_TRUE(of(d->control(4))->state().checked);
    // Frames around stock widgets are not focus stops of their own.
    EXPECT_FALSE(of(d->control(6))->state().focusable);
    EXPECT_TRUE(inner(d->control(6))->state().focusable);
}

TEST_F(Access, HiddenPagesAndClosedListsAreNotShowing) {
    auto d = build();
    EXPECT_TRUE(of(d->control(12))->state().invisible);
    QAccessibleInterface* effects = inner(d->control(13));
    ASSERT_EQ(effects->childCount(), 1);
    EXPECT_EQ(effects->text(QAccessible::Name), "Effects");
    EXPECT_EQ(effects->child(0)->text(QAccessible::Name), "Wave");
    EXPECT_TRUE(effects->child(0)->state().invisible);

    // A drop-down's items show only while its list is open.
    auto* combo = static_cast<QComboBox*>(d->control(6)->focusProxy());
    QAccessibleInterface* items = inner(d->control(6))->child(0);
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->childCount(), 2);
    EXPECT_TRUE(items->child(1)->state().invisible);
    combo->showPopup();
    ASSERT_TRUE(waitUntil([&] { return combo->view()->isVisible(); }));
    EXPECT_FALSE(items->child(1)->state().invisible);
    EXPECT_EQ(items->parent(), inner(d->control(6)));
    combo->hidePopup();
}

TEST_F(Access, KeyboardChangesAreRead) {
    auto d = build();
    auto* box = d->find<CheckBox>(4);
    box->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil([&] { return box->hasFocus(); }));
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(of(box)->state().checked);
    EXPECT_TRUE(of(box)->state().focused);

    // The tab column: the arrow moves the focus to the next item, which reads selected.
    auto* tabs = d->find<TabControl>(10);
    tabs->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil([&] { return tabs->hasFocus(); }));
    QTest::keyClick(tabs, Qt::Key_Down);
    QAccessibleInterface* item = of(tabs)->focusChild();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(QAccessible::Name), "Buttons");
    EXPECT_TRUE(item->state().selected);
    EXPECT_TRUE(item->state().focused);
}

TEST_F(Access, TheFocusRingSurroundsTheFocusedControlAndStandsOut) {
    auto d = build();
    auto* apply = d->control(1);
    apply->setFocus(Qt::TabFocusReason);
    QTest::keyClick(apply, Qt::Key_Tab); // to the toggle
    auto* toggle = d->control(2);
    ASSERT_TRUE(waitUntil([&] { return toggle->hasFocus(); }));
    auto* ring = d->findChild<QWidget*>("focusRing");
    ASSERT_NE(ring, nullptr);
    ASSERT_TRUE(waitUntil([&] { return ring->isVisible(); }));
    const QRect around = ring->geometry();
    EXPECT_TRUE(around.contains(toggle->geometry()));
    EXPECT_FALSE(toggle->geometry().contains(around)); // drawn outside the control's edge
    for (const QColor& background :
         {skin::windowColour(), skin::panelColour(), skin::faceColour(), skin::hoverColour()})
        EXPECT_GE(contrastRatio(focusRingColour(), background), 3.0)
            << background.name().toStdString();
    // It follows the focus into a stock widget, around the control that hosts it.
    d->control(6)->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil([&] { return ring->geometry().contains(d->control(6)->geometry()); }));
}

TEST(ContrastRatio, MatchesKnownPairs) {
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_NEAR(contrastRatio(Qt::white, Qt::white), 1.0, 0.001);
    EXPECT_NEAR(contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);
}

} // namespace
} // namespace corvane::ui::test
