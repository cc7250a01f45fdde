// The lighting page in the main window against the virtual mouse: every change is
// checked against the stored light row, the task queued and what the mouse received.
#include "window/PageWindowTest.h"
#include "window/TabWalk.h"

#include "pages/dialogs/MessageBox.h"
#include "pages/lighting/LightingPage.h"
#include "protocol/worker/DeviceTask.h"
#include "store/ProfileDatabase.h"
#include "ui/base/Colour.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/Slider.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourPalette.h"
#include "ui/views/ColourSwatch.h"
#include "ui/views/Picture.h"
#include "ui/views/TabControl.h"
#include "virtualmouse/MouseDevice.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QSlider>

#include <cstdio>

namespace corvane::pages::test {
namespace {

namespace C = LightingControl;
namespace Task = protocol::DeviceTask;
constexpr PageSlot kPage = PageSlot::Lighting;

class LightingPageTest : public PageWindowTest {
protected:
    void start() {
        page = startWithPage<LightingPage>(kPage);
        ASSERT_NE(page, nullptr);
        showPage(kPage);
        page->reload();
    }
    store::ProfileDatabase& database() const { return store::ProfileDatabase::instance(); }
    store::LightEffect light(int mode, int ofProfile = 0) const {
        store::LightEffect row;
        EXPECT_TRUE(database().getLight(ofProfile ? ofProfile : profile(), mode, row)) << mode;
        return row;
    }
    void chooseMode(int mode) {
        auto* modes = find<ui::ComboBox>(kPage, C::Mode);
        const int index = modes->findData(mode);
        ASSERT_GE(index, 0) << "no entry for mode " << mode;
        auto* box = control(kPage, C::Mode)->findChild<QComboBox*>();
        box->showPopup();
        QAbstractItemView* view = box->view();
        ASSERT_TRUE(waitUntil([&] { return view->isVisible(); }));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(index, 0)).center());
        ASSERT_TRUE(waitUntil([&] { return !view->isVisible(); }));
    }
    void clearNotes() {
        waitForWorker();
        tasks.clear();
        messageBoxes.saveWaits = 0;
    }
    // The lighting the mouse runs once the worker sent what was queued, in its own
    // reading.
    vm::HeldSettings::Lighting mouseLighting() {
        waitForWorker();
        return held().lighting;
    }
    int colourOf(int local) const {
        return ui::bgrFromColour(find<ui::ColourSwatch>(kPage, local)->colour());
    }

    LightingPage* page = nullptr;
};

TEST_F(LightingPageTest, AProfileWithoutLightsGetsOneRowPerOfferedModeAndMode1) {
    start();
    ASSERT_TRUE(database().deleteLights(profile()));
    page->reload();
    EXPECT_EQ(database().countLights(profile()), 6);
    EXPECT_EQ(database().getCurrentLightMode(profile()), 1);
    EXPECT_EQ(page->currentMode(), 1);
    auto* modes = find<ui::ComboBox>(kPage, C::Mode);
    ASSERT_EQ(modes->count(), 6);
    for (int i = 0; i < modes->count(); ++i)
        EXPECT_EQ(modes->itemText(i), englishText(light(modes->itemData(i)).reserved)) << i;
    EXPECT_EQ(modes->currentData(), 1);
    EXPECT_TRUE(tasks.empty()) << "loading sends nothing";
}

struct ModeView {
    int mode;
    bool brightness, speed, editor, colourSlots;
    int contentHeight;
    std::size_t coloursSent; // the flowing effect sends all seven, one colour its one
};

// A stored colour (red in the low byte) as "#RRGGBB".
std::string rgbText(int bgr) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", bgr & 0xFF, (bgr >> 8) & 0xFF,
                  (bgr >> 16) & 0xFF);
    return text;
}

class LightingModes : public LightingPageTest, public ::testing::WithParamInterface<ModeView> {};

TEST_P(LightingModes, ShowWhatTheModeAllowsAndAreSent) {
    const ModeView& view = GetParam();
    start();
    const int other = view.mode == 4 ? 5 : 4;
    chooseMode(other);
    clearNotes();

    chooseMode(view.mode);
    EXPECT_EQ(database().getCurrentLightMode(profile()), view.mode);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendLighting});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    EXPECT_EQ(!control(kPage, C::Brightness)->isHidden(), view.brightness);
    EXPECT_EQ(!control(kPage, C::BrightnessValue)->isHidden(), view.brightness);
    EXPECT_EQ(!control(kPage, C::Speed)->isHidden(), view.speed);
    EXPECT_EQ(!control(kPage, C::Palette)->isHidden(), view.editor);
    EXPECT_EQ(!control(kPage, C::FirstPreset + 7)->isHidden(), view.editor);
    EXPECT_EQ(!control(kPage, C::FirstChannel + 2)->isHidden(), view.editor);
    EXPECT_EQ(!control(kPage, C::FirstSlot + 6)->isHidden(), view.colourSlots);
    EXPECT_EQ(control(kPage, C::Content)->height(), view.contentHeight);
    // 16 pixels inside the page, which fills the window's content frame at (202, 76).
    EXPECT_EQ(control(kPage, C::Content)->mapTo(window.get(), QPoint(0, 0)), QPoint(218, 92));
    if (view.editor) {
        // The editor starts at the mode's first colour.
        const int first = light(view.mode).colorValues[0];
        EXPECT_EQ(find<ui::NumberField>(kPage, C::FirstChannel)->value(), first & 0xFF);
        EXPECT_EQ(find<ui::NumberField>(kPage, C::FirstChannel + 2)->value(), first >> 16);
        EXPECT_EQ(ui::bgrFromColour(find<ui::Picture>(kPage, C::Preview)->fillColour()), first);
        EXPECT_EQ(ui::bgrFromColour(find<ui::ColourPalette>(kPage, C::Palette)->colour()), first);
    }
    const store::LightEffect row = light(view.mode);
    const vm::HeldSettings::Lighting lit = mouseLighting();
    EXPECT_EQ(lit.mode, view.mode);
    EXPECT_EQ(lit.brightness, row.brightness);
    EXPECT_EQ(lit.speed, row.speed);
    std::vector<std::string> colours;
    for (std::size_t i = 0; i < view.coloursSent; ++i)
        colours.push_back(rgbText(row.colorValues[i]));
    EXPECT_EQ(lit.colours, colours);
}

INSTANTIATE_TEST_SUITE_P(DefaultRows, LightingModes,
                         ::testing::Values(ModeView{1, true, true, false, false, 430, 0},
                                           ModeView{2, true, true, true, true, 658, 7},
                                           ModeView{3, true, false, true, false, 658, 1},
                                           ModeView{4, true, true, false, false, 430, 0},
                                           ModeView{0, false, false, false, false, 170, 0}));

TEST_F(LightingPageTest, SlidersStoreOnlyWhenReleased) {
    start();
    chooseMode(1);
    store::LightEffect row = light(1);
    row.brightness = 1;
    row.speed = 2;
    ASSERT_TRUE(database().updateLight(1, row));
    page->reload();
    EXPECT_EQ(control(kPage, C::BrightnessValue)->text(), englishText(278) + ": 25%");
    EXPECT_EQ(control(kPage, C::SpeedValue)->text(), englishText(279) + ": 2");
    clearNotes();

    auto* slider = control(kPage, C::Brightness)->findChild<QSlider*>();
    const QPoint from(slider->width() / 4, slider->height() / 2);
    const QPoint to(slider->width() - 4, slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), slider->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(slider, &move);
    EXPECT_EQ(control(kPage, C::BrightnessValue)->text(), englishText(278) + ": 100%");
    EXPECT_EQ(light(1).brightness, 1) << "nothing stored while it moves";
    EXPECT_TRUE(tasks.empty());
    QTest::mouseRelease(slider, Qt::LeftButton, {}, to);
    EXPECT_EQ(light(1).brightness, 4);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendLighting});
    EXPECT_EQ(mouseLighting().mode, 1);
    EXPECT_EQ(mouseLighting().brightness, 4);
    EXPECT_EQ(mouseLighting().speed, 2);

    // Keys: each step is a release of its own.
    clearNotes();
    pressKey(kPage, C::Speed, Qt::Key_Right);
    EXPECT_EQ(light(1).speed, 3);
    EXPECT_EQ(control(kPage, C::SpeedValue)->text(), englishText(279) + ": 3");
    EXPECT_EQ(tasks, std::vector<int>{Task::SendLighting});
    EXPECT_EQ(mouseLighting().speed, 3);
    EXPECT_EQ(mouseLighting().brightness, 4);

    // Brightness texts by level; a level outside 0..4 reads as full.
    for (auto [level, percent] : {std::pair{0, 0}, {2, 50}, {3, 75}, {9, 100}}) {
        row = light(1);
        row.brightness = level;
        database().updateLight(1, row);
        page->reload();
        EXPECT_EQ(control(kPage, C::BrightnessValue)->text(),
                  englishText(278) + QStringLiteral(": %1%").arg(percent));
    }
}

TEST_F(LightingPageTest, AColourGoesToTheSlotThatIsOnOrToTheFirstColour) {
    start();
    chooseMode(2);
    const store::LightEffect before = light(2);
    clearNotes();

    click(kPage, C::FirstSlot + 3);
    click(kPage, C::FirstPreset + 4); // 06FF00
    const store::LightEffect after = light(2);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(after.colorValues[std::size_t(i)],
                  i == 3 ? 0x06FF00 : before.colorValues[std::size_t(i)])
            << i;
    EXPECT_EQ(colourOf(C::FirstSlot + 3), 0x06FF00);
    EXPECT_EQ(find<ui::NumberField>(kPage, C::FirstChannel)->text(), "0");
    EXPECT_EQ(find<ui::NumberField>(kPage, C::FirstChannel + 1)->text(), "255");
    EXPECT_EQ(find<ui::NumberField>(kPage, C::FirstChannel + 2)->text(), "6");
    EXPECT_EQ(ui::bgrFromColour(find<ui::Picture>(kPage, C::Preview)->fillColour()), 0x06FF00);
    EXPECT_EQ(ui::bgrFromColour(find<ui::ColourPalette>(kPage, C::Palette)->colour()), 0x06FF00);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendLighting});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    const vm::HeldSettings::Lighting flowing = mouseLighting();
    EXPECT_EQ(flowing.mode, 2);
    ASSERT_EQ(flowing.colours.size(), 7u);
    EXPECT_EQ(flowing.colours[3], "#00FF06");
    EXPECT_EQ(flowing.colours[0], rgbText(before.colorValues[0]));

    chooseMode(3);
    clearNotes();
    click(kPage, C::FirstPreset + 1); // FF00F0
    EXPECT_EQ(light(3).colorValues[0], 0xFF00F0);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendLighting});
    EXPECT_EQ(mouseLighting().mode, 3);
    EXPECT_EQ(mouseLighting().colours, std::vector<std::string>{"#F000FF"});
}

// A channel is stored and sent once its value is complete (the field left, Enter, or a
// pause in the typing), never digit by digit: "128" never sends 1 and 12 first.
TEST_F(LightingPageTest, TypedChannelsAreLimitedWrittenBackAndAppliedWhenComplete) {
    start();
    chooseMode(3);
    clearNotes();
    page->setChannelPause(std::chrono::hours(1)); // here only leaving the field completes
    const int before = light(3).colorValues[0];
    typeInto(kPage, C::FirstChannel, QStringLiteral("128"), false);
    EXPECT_EQ(light(3).colorValues[0], before) << "stored while typing";
    EXPECT_TRUE(tasks.empty()) << "sent while typing";
    EXPECT_EQ(ui::bgrFromColour(find<ui::Picture>(kPage, C::Preview)->fillColour()) & 0xFF, 128)
        << "the preview follows the keys";

    typeInto(kPage, C::FirstChannel + 1, QStringLiteral("300"), false); // leaves R
    EXPECT_EQ(find<ui::NumberField>(kPage, C::FirstChannel + 1)->text(), "255");
    EXPECT_EQ(light(3).colorValues[0] & 0xFF, 128);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendLighting});
    typeInto(kPage, C::FirstChannel + 2, QStringLiteral("-5"));
    EXPECT_EQ(find<ui::NumberField>(kPage, C::FirstChannel + 2)->text(), "0");
    EXPECT_EQ(light(3).colorValues[0], 128 | (255 << 8) | (0 << 16));
    EXPECT_EQ(tasks, std::vector<int>(3, Task::SendLighting));
    EXPECT_EQ(mouseLighting().colours, std::vector<std::string>{"#80FF00"});

    // Enter completes it too; so does a pause, with the focus still in the field.
    typeInto(kPage, C::FirstChannel + 2, QStringLiteral("64"), false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(light(3).colorValues[0] >> 16, 64);
    page->setChannelPause(std::chrono::milliseconds(1));
    typeInto(kPage, C::FirstChannel, QStringLiteral("7"), false);
    EXPECT_TRUE(waitUntil([&] { return (light(3).colorValues[0] & 0xFF) == 7; }));
    EXPECT_EQ(mouseLighting().colours, std::vector<std::string>{"#07FF40"});
}

TEST_F(LightingPageTest, ThePaletteStoresWhenReleased) {
    start();
    chooseMode(3);
    const int stored = light(3).colorValues[0];
    click(kPage, C::FirstPreset); // a preset on: the palette turns it off
    clearNotes();
    QWidget* palette = control(kPage, C::Palette);
    const QPoint from(10, 10);
    const QPoint to(palette->width() / 2, palette->height() / 3);
    QTest::mousePress(palette, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), palette->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(palette, &move);
    const int shown = ui::bgrFromColour(find<ui::Picture>(kPage, C::Preview)->fillColour());
    EXPECT_NE(shown, stored);
    EXPECT_EQ(find<ui::NumberField>(kPage, C::FirstChannel)->value(), shown & 0xFF);
    EXPECT_FALSE(find<ui::ColourSwatch>(kPage, C::FirstPreset)->isChecked());
    EXPECT_EQ(light(3).colorValues[0], colourOf(C::FirstPreset)) << "not stored while dragging";
    EXPECT_TRUE(tasks.empty());
    QTest::mouseRelease(palette, Qt::LeftButton, {}, to);
    EXPECT_EQ(light(3).colorValues[0], shown);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendLighting});
    EXPECT_EQ(mouseLighting().colours, std::vector<std::string>{rgbText(shown)});

    // An arrow key is a whole pick: stored and sent at once.
    clearNotes();
    pressKey(kPage, C::Palette, Qt::Key_Right);
    const int stepped = ui::bgrFromColour(find<ui::Picture>(kPage, C::Preview)->fillColour());
    EXPECT_NE(stepped, shown);
    EXPECT_EQ(find<ui::NumberField>(kPage, C::FirstChannel + 1)->value(), (stepped >> 8) & 0xFF);
    EXPECT_EQ(light(3).colorValues[0], stepped);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendLighting});
    EXPECT_EQ(mouseLighting().colours, std::vector<std::string>{rgbText(stepped)});
}

TEST_F(LightingPageTest, ResetAsksThenRestoresThisProfileOnly) {
    start();
    chooseMode(1);
    store::LightEffect changed = light(1);
    changed.brightness = 1;
    ASSERT_TRUE(database().updateLight(1, changed));
    const int otherProfile = profile() == 1 ? 2 : 1;
    database().createDefaultLights(otherProfile, {true, true, true, true, true, true});
    store::LightEffect otherRow = light(1, otherProfile);
    otherRow.brightness = 2;
    otherRow.profile = otherProfile;
    ASSERT_TRUE(database().updateLight(1, otherRow));
    clearNotes();

    messageBoxes.answer = 2;
    click(kPage, C::Reset);
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].text, englishText(275));
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(276));
    EXPECT_EQ(light(1).brightness, 1);
    EXPECT_TRUE(tasks.empty());

    messageBoxes.answer = 1;
    const int controlsBefore = mouse().lastLightControl();
    click(kPage, C::Reset);
    EXPECT_EQ(light(1).brightness, 4) << "this profile's rows are the defaults again";
    EXPECT_EQ(database().countLights(profile()), 6);
    EXPECT_EQ(light(1, otherProfile).brightness, 2) << "another profile keeps its lighting";
    EXPECT_EQ(tasks, std::vector<int>{Task::ResetLighting});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    EXPECT_TRUE(waitUntil([&] { return mouse().lastLightControl() != controlsBefore; }))
        << "the mouse was told to restore its lighting";
}

TEST_F(LightingPageTest, AModeWhoseRowWentAwayStoresNothing) {
    start();
    chooseMode(3);
    // Another window reset the lighting of this profile meanwhile.
    ASSERT_TRUE(database().deleteLights(profile()));
    clearNotes();
    click(kPage, C::FirstPreset + 2);
    typeInto(kPage, C::FirstChannel, QStringLiteral("12"));
    EXPECT_EQ(database().countLights(profile()), 0) << "no row is made up";
    EXPECT_TRUE(tasks.empty());
    EXPECT_EQ(messageBoxes.saveWaits, 0);
}

TEST_F(LightingPageTest, OnlyDevicesWithLightingHaveTheTab) {
    devices.wiredM1 = false;
    devices.wiredM2 = true;
    page = startWithPage<LightingPage>(kPage);
    auto* tabs = window->find<ui::TabControl>(48);
    EXPECT_FALSE(tabs->isItemVisible(tabs->indexOfItem(5)));
}

// Keyboard use: Tab, pressed from the page's first control, reaches every control the
// page shows, each once, and each has a name.
TEST_F(LightingPageTest, EveryControlIsReachedByTabAndNamed) {
    start();
    chooseMode(2);
    QWidget* container = window->pageContainer(kPage);
    const std::set<QWidget*> focusable = focusableControls(container);
    ASSERT_GT(focusable.size(), 20u) << "the page's controls were found";
    QWidget* first = firstInTabOrder(container);
    ASSERT_NE(first, nullptr);
    const std::vector<QWidget*> reached = walkWithTab(container, first);
    const std::set<QWidget*> reachedOnce(reached.begin(), reached.end());
    EXPECT_EQ(reachedOnce.size(), reached.size()) << "no control twice";
    for (QWidget* widget : focusable) {
        const QWidget* owner = dynamic_cast<ui::Control*>(widget) ? widget : widget->parentWidget();
        EXPECT_TRUE(reachedOnce.count(widget))
            << "not reached: " << owner->metaObject()->className();
        EXPECT_FALSE(widget->accessibleName().isEmpty() && owner->accessibleName().isEmpty())
            << owner->metaObject()->className();
    }
    EXPECT_EQ(reachedOnce.size(), focusable.size());
}

} // namespace
} // namespace corvane::pages::test
