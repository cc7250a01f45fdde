// Notifications from real user input, focus notifications, and silence of the setters.

#include "UiTest.h"

#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/ProgressBar.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourPalette.h"
#include "ui/views/DeviceList.h"
#include "ui/views/KeyList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/Picture.h"
#include "ui/views/TabControl.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane::ui::test {
namespace {

using Notes = std::vector<Note>;

void click(QWidget* w, QPoint at) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
}

TEST(NotifyTest, ButtonsReportClicksWithTheirState) {
    auto d = showDialog([](RecordingDialog& r) {
        r.add<PushButton>(1, QRect(10, 10, 80, 30));
        r.add<PushButton>(2, QRect(100, 10, 80, 30))->setCheckable(true);
        r.add<CheckBox>(3, QRect(10, 50, 120, 20));
        r.add<PushButton>(4, QRect(100, 50, 80, 30))->setEnabled(false);
    });
    click(d->control(1), {40, 15});
    click(d->control(2), {40, 15});
    click(d->control(2), {40, 15});
    click(d->control(3), {8, 10});
    click(d->control(4), {40, 15});
    // Pressed inside, released outside: no click.
    QTest::mousePress(d->control(1), Qt::LeftButton, {}, {40, 15});
    QTest::mouseRelease(d->control(1), Qt::LeftButton, {}, {200, 200});
    const Notes clicks = [&] {
        Notes n;
        for (const Note& note : d->notes)
            if (note.code == Notify::Click)
                n.push_back(note);
        return n;
    }();
    EXPECT_EQ(clicks, (Notes{{1, 2, 0, 0}, {2, 2, 1, 0}, {2, 2, 0, 0}, {3, 2, 1, 0}}));
    EXPECT_FALSE(d->find<PushButton>(2)->isChecked());
    EXPECT_TRUE(d->find<CheckBox>(3)->isChecked());

    // Space on the focused button is a click too.
    d->notes.clear();
    d->control(1)->setFocus();
    QTest::keyClick(d->control(1), Qt::Key_Space);
    EXPECT_EQ(d->notes.back(), (Note{1, 2, 0, 0}));
}

TEST(NotifyTest, ItemControlsReportTheChosenIndexAndData) {
    auto d = showDialog([](RecordingDialog& r) {
        auto* combo = r.add<ComboBox>(3, QRect(10, 10, 150, 28));
        combo->addItem("125Hz", 8);
        combo->addItem("250Hz", 4);
        combo->setCurrentIndex(0);
        auto* list = r.add<ListBox>(4, QRect(10, 50, 150, 120));
        list->addItem("a", 100);
        list->addItem("b", 200);
        list->addItem("c", 300);
        auto* tabs = r.add<TabControl>(5, QRect(200, 10, 190, 180));
        tabs->addItem("Home", 1);
        tabs->addItem("Keys", 2);
        tabs->addItem("Light", 5);
        tabs->setItemVisible(1, false);
    });
    auto* combo = d->control(3)->findChild<QComboBox*>();
    ASSERT_TRUE(combo->hasFocus()) << "the first control of the window";
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(d->notes, (Notes{{3, 2, 1, 4}}));
    EXPECT_EQ(d->find<ComboBox>(3)->currentData(), 4);

    d->notes.clear();
    auto* list = d->control(4)->findChild<QListWidget*>();
    const QPoint row2 = list->visualItemRect(list->item(2)).center();
    click(list->viewport(), row2);
    click(list->viewport(), row2); // the current row again: nothing new
    Notes picked;
    for (const Note& n : d->notes)
        if (n.code == Notify::Click)
            picked.push_back(n);
    EXPECT_EQ(picked, (Notes{{4, 2, 2, 300}}));

    d->notes.clear();
    auto* tabs = d->find<TabControl>(5);
    click(tabs, tabs->itemRect(2).center()); // item 1 is hidden, item 2 sits in its place
    click(tabs, tabs->itemRect(2).center()); // the current tab again still reports
    EXPECT_EQ(d->notes, (Notes{{5, 2, 2, 5}, {5, 2, 2, 5}}));
    EXPECT_EQ(tabs->itemRect(2).top(), 60);
    EXPECT_EQ(tabs->currentItemId(), 5);
}

TEST(NotifyTest, SliderReportsMovingWhileDraggedAndClickAtTheEnd) {
    auto d = showDialog([](RecordingDialog& r) {
        auto* s = r.add<Slider>(6, QRect(10, 10, 210, 30));
        s->setRange(0, 100);
    });
    auto* slider = d->control(6)->findChild<QSlider*>();
    const int y = slider->height() / 2;
    QTest::mousePress(slider, Qt::LeftButton, {}, {52, y});
    QMouseEvent move(QEvent::MouseMove, QPointF(157, y), slider->mapToGlobal(QPointF(157, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, {157, y});

    ASSERT_GE(d->notes.size(), 3u);
    std::vector<int> codes;
    for (const Note& n : d->notes)
        if (n.code != Notify::FocusGained)
            codes.push_back(n.code);
    EXPECT_EQ(codes.back(), Notify::Click);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Notify::Click), 1);
    EXPECT_GE(std::count(codes.begin(), codes.end(), Notify::Moving), 2);
    const int position = d->find<Slider>(6)->position();
    EXPECT_EQ(d->notes.back().p1, position);
    EXPECT_NEAR(position, 75, 10) << "the groove click jumps and the drag follows the mouse";

    // A keyboard step is one complete change: Moving, then Click.
    d->notes.clear();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(d->notes, (Notes{{6, 8, position + 1, 0}, {6, 2, position + 1, 0}}));
}

TEST(NotifyTest, DeviceControlsAndPaletteReportTheClickedEntry) {
    auto d = showDialog(
        [](RecordingDialog& r) {
            auto* keys = r.add<KeyList>(20, QRect(10, 10, 250, 200));
            keys->addRow("Key 1", "Left", 0);
            keys->addRow("Key 2", "Right", 2);
            keys->addRow("Key 3", "Middle", 1);
            auto* mouse = r.add<MousePicture>(31, QRect(270, 10, 300, 300));
            mouse->addCallout("Left", 0, 0, {200, 60}, {120, 60}, false);
            mouse->addCallout("Right", 2, 1, {150, 120}, {220, 120}, true);
            auto* devices = r.add<DeviceList>(57, QRect(10, 320, 700, 260));
            devices->addEntry("Wired one", 101, "device/a.png");
            devices->addEntry("Wireless one", 201, "device/b.png");
            auto* palette = r.add<ColourPalette>(226, QRect(580, 10, 170, 160));
            palette->setColour(Qt::white);
        },
        {760, 600});
    auto* keys = d->find<KeyList>(20);
    click(keys, keys->rowRect(2).center());
    auto* mouse = d->find<MousePicture>(31);
    click(mouse, mouse->calloutRect(1).center());
    click(mouse, {5, 295}); // empty picture: nothing
    auto* devices = d->find<DeviceList>(57);
    click(devices, devices->entryRect(1).center());
    EXPECT_EQ(d->notes, (Notes{{20, 2, 2, 1}, {31, 2, 1, 2}, {57, 2, 1, 201}}));
    EXPECT_EQ(keys->selectedIndex(), 2);
    EXPECT_EQ(mouse->selectedIndex(), 1);
    EXPECT_EQ(devices->selectedType(), 201);

    // The palette: ColourPicked while the button is held, Click with the final colour.
    d->notes.clear();
    auto* palette = d->find<ColourPalette>(226);
    QTest::mousePress(palette, Qt::LeftButton, {}, {10, 10});
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 20), palette->mapToGlobal(QPointF(100, 20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(palette, &move);
    QTest::mouseRelease(palette, Qt::LeftButton, {}, {100, 20});
    ASSERT_EQ(d->notes.size(), 3u);
    EXPECT_EQ(d->notes[0].code, Notify::ColourPicked);
    EXPECT_EQ(d->notes[1].code, Notify::ColourPicked);
    EXPECT_EQ(d->notes[2].code, Notify::Click);
    const QColor picked = palette->colourAt({100, 20});
    const int bgr = picked.red() | picked.green() << 8 | picked.blue() << 16;
    EXPECT_EQ(d->notes[2].p1, bgr);
    EXPECT_EQ(palette->colour(), picked);

    // The arrows: each step a whole pick. Right moves on through the hues, Down towards
    // white; at the edge the colour stays.
    d->notes.clear();
    QTest::keyClick(palette, Qt::Key_Right);
    ASSERT_EQ(d->notes.size(), 2u);
    EXPECT_EQ(d->notes[0].code, Notify::ColourPicked);
    EXPECT_EQ(d->notes[1].code, Notify::Click);
    EXPECT_GT(palette->colour().hsvHueF(), picked.hsvHueF());
    EXPECT_EQ(d->notes[1].p1, palette->colour().red() | palette->colour().green() << 8 |
                                  palette->colour().blue() << 16);
    const QColor before = palette->colour();
    QTest::keyClick(palette, Qt::Key_Down);
    EXPECT_LT(palette->colour().hsvSaturationF(), before.hsvSaturationF());
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(palette, Qt::Key_Down);
    EXPECT_EQ(palette->colour().hsvSaturation(), 0);
}

TEST(NotifyTest, PassiveControlsLetClicksThroughUnlessClickable) {
    auto d = showDialog([](RecordingDialog& r) {
        r.add<PushButton>(1, QRect(10, 10, 100, 40));
        r.add<Picture>(2, QRect(10, 10, 100, 40)); // covers the button
        r.add<StaticText>(3, QRect(10, 60, 100, 20))->setClickable(true);
    });
    // Clicks on the window, so that Qt finds the widget under the point.
    QTest::mouseClick(d->windowHandle(), Qt::LeftButton, {}, {50, 30});
    QTest::mouseClick(d->windowHandle(), Qt::LeftButton, {}, {50, 70});
    Notes clicks;
    for (const Note& n : d->notes)
        if (n.code == Notify::Click)
            clicks.push_back(n);
    EXPECT_EQ(clicks, (Notes{{1, 2, 0, 0}, {3, 2, 0, 0}}));
}

TEST(NotifyTest, FocusGainedAndLostAreReportedInOrder) {
    auto d = showDialog([](RecordingDialog& r) {
        r.add<NumberField>(10, QRect(10, 10, 80, 26));
        r.add<PushButton>(11, QRect(100, 10, 80, 30));
    });
    auto* edit = d->control(10)->findChild<QLineEdit*>();
    ASSERT_TRUE(edit->hasFocus()) << "the first control of the window";
    click(d->control(11), {40, 15});
    click(edit, {10, 10});
    // Enter ends the edit of a field by giving the focus up.
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(d->notes, (Notes{{10, 29, 0, 0},
                               {11, 30, 0, 0},
                               {11, 2, 0, 0},
                               {11, 29, 0, 0},
                               {10, 30, 0, 0},
                               {10, 29, 0, 0}}));
}

TEST(NotifyTest, SettersNeverNotify) {
    auto d = showDialog([](RecordingDialog& r) {
        r.add<PushButton>(1, QRect(0, 0, 50, 20))->setCheckable(true);
        r.add<CheckBox>(2, QRect(0, 30, 50, 20));
        auto* combo = r.add<ComboBox>(3, QRect(0, 60, 100, 24));
        combo->addItem("a", 1);
        combo->addItem("b", 2);
        auto* list = r.add<ListBox>(4, QRect(0, 90, 100, 80));
        list->addItem("a", 1);
        list->addItem("b", 2);
        auto* tabs = r.add<TabControl>(5, QRect(200, 0, 190, 120));
        tabs->addItem("a", 1);
        tabs->addItem("b", 2);
        r.add<Slider>(6, QRect(200, 130, 150, 24))->setRange(0, 100);
        r.add<NumberField>(7, QRect(200, 160, 80, 24));
        r.add<ColourPalette>(8, QRect(400, 0, 170, 160));
        auto* keys = r.add<KeyList>(9, QRect(400, 170, 200, 120));
        keys->addRow("k", "d", 3);
        r.add<ProgressBar>(10, QRect(0, 300, 200, 10));
    });
    RecordingDialog& r = *d;
    r.find<PushButton>(1)->setChecked(true);
    r.find<CheckBox>(2)->setChecked(true);
    r.find<ComboBox>(3)->setCurrentIndex(1);
    r.find<ComboBox>(3)->selectData(1);
    r.find<ComboBox>(3)->clear();
    r.find<ListBox>(4)->setCurrentIndex(1);
    r.find<ListBox>(4)->removeItem(1);
    r.find<ListBox>(4)->clear();
    r.find<TabControl>(5)->setCurrentIndex(1);
    r.find<Slider>(6)->setPosition(70);
    r.find<Slider>(6)->setRange(0, 50); // pulls the position in
    r.find<NumberField>(7)->setValue(300);
    r.find<NumberField>(7)->setRange(0, 255);
    r.find<NumberField>(7)->clampToRange();
    r.find<ColourPalette>(8)->setColour(Qt::green);
    r.find<KeyList>(9)->select(0);
    r.find<ProgressBar>(10)->setPosition(40);
    QCoreApplication::processEvents();
    EXPECT_TRUE(r.notes.empty()) << r.notes.front();
    EXPECT_EQ(r.find<Slider>(6)->position(), 50);
    EXPECT_EQ(r.find<NumberField>(7)->text(), "255");
}

// A handler that provokes its own control again is not re-entered.
TEST(NotifyTest, AHandlerIsNotReenteredByItsOwnControl) {
    auto d = showDialog([](RecordingDialog& r) { r.add<PushButton>(1, QRect(10, 10, 80, 30)); });
    int depth = 0, maxDepth = 0;
    d->onNote = [&](const Note& n) {
        if (n.code != Notify::Click)
            return;
        maxDepth = std::max(maxDepth, ++depth);
        click(d->control(1), {40, 15});
        --depth;
    };
    click(d->control(1), {40, 15});
    EXPECT_EQ(maxDepth, 1);
    click(d->control(1), {40, 15});
    EXPECT_EQ(std::count(d->notes.begin(), d->notes.end(), Note{1, 2, 0, 0}), 2)
        << "later clicks still arrive";
}

} // namespace
} // namespace corvane::ui::test
