// The button page in the main window against the virtual mouse and a real store: each
// way of giving a key a function stores the binding, queues the key table and reaches
// the mouse's key table; the primary key is refused; both restores ask first.
#include "window/DropDown.h"
#include "window/PageWindowTest.h"

#include "app/window/MainWindowIds.h"
#include "pages/buttons/ButtonPage.h"
#include "pages/keys/KeyCapture.h"
#include "protocol/worker/DeviceTask.h"
#include "store/ProfileDatabase.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/TextField.h"
#include "ui/views/KeyList.h"
#include "ui/views/MousePicture.h"
#include "virtualmouse/MouseDevice.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

namespace corvane::pages::test {
namespace {

namespace C = ButtonControl;
constexpr PageSlot kSlot = PageSlot::Buttons;

class ButtonPageTest : public PageWindowTest {
protected:
    void start() {
        page = startWithPage<ButtonPage>(kSlot);
        showPage(kSlot);
        tasks.clear();
    }
    // Clicks the key list's row of a key.
    void selectKey(int keyCode) {
        auto* list = find<ui::KeyList>(kSlot, C::KeyList);
        const int row = list->indexOfKey(keyCode);
        ASSERT_GE(row, 0);
        click(kSlot, C::KeyList, list->rowRect(row).center());
        ASSERT_EQ(page->selectedKey(), keyCode);
    }
    // The user's choice of item `index` in a menu: the list opened, the item clicked.
    void choose(int menu, int index) {
        chooseByClicking(find<ui::ComboBox>(kSlot, menu)->findChild<QComboBox*>(), index);
    }
    store::ButtonBinding stored(int keyCode) const {
        store::ButtonBinding b;
        store::ProfileDatabase::instance().getBinding(profile(), keyCode, b);
        return b;
    }
    QString description(int keyCode) const {
        auto* list = find<ui::KeyList>(kSlot, C::KeyList);
        return list->description(list->indexOfKey(keyCode));
    }
    // The function the mouse gives a key once the worker has sent what was queued, in
    // the mouse's own reading ("mouse back", "key Ctrl+C"...).
    std::string mouseFunction(int keyCode) {
        waitForWorker();
        return held().buttons.at(std::size_t(keyCode));
    }
    // Types a key into the focused capture field as the keyboard delivers it.
    void typeKey(int qtKey, unsigned kernelCode, const QString& text) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, qtKey, {}, kernelCode + 8, 0, 0, text);
            QApplication::sendEvent(QApplication::focusWidget(), &event);
        }
    }

    ButtonPage* page = nullptr;
};

TEST_F(ButtonPageTest, EveryMenuStoresItsFunctionAndTheMouseGetsIt) {
    start();
    struct Case {
        int menu, item, type, value;
        const char* function;
    };
    const Case cases[] = {
        {C::MouseMenu, 1, 1, 3, "mouse right"},           {C::MouseMenu, 5, 1, 4, "repeat 50/3"},
        {C::MediaMenu, 0, 3, 6, "media volume up"},       {C::MediaMenu, 7, 3, 3, "media stop"},
        {C::SystemMenu, 9, 8, 11, "key Ctrl+X"},          {C::DpiMenu, 1, 5, 1, "DPI +"},
        {C::DeviceMenu, 1, 6, 2, "device function 0x01"}, {C::MouseMenu, 3, 1, 5, "mouse forward"},
    };
    selectKey(3);
    for (const Case& c : cases) {
        tasks.clear();
        choose(c.menu, c.item);
        const store::ButtonBinding b = stored(3);
        EXPECT_EQ(b.macroType, c.type) << c.menu << "/" << c.item;
        EXPECT_EQ(b.macroValue, c.value);
        EXPECT_EQ(b.macroDesc, find<ui::ComboBox>(kSlot, c.menu)->itemText(c.item));
        EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::SendButtons});
        EXPECT_TRUE(find<ui::Control>(kSlot, c.menu + C::MarkOffset)->isVisible());
        EXPECT_EQ(mouseFunction(3), c.function) << c.menu << "/" << c.item;
    }
    EXPECT_TRUE(find<ui::Control>(kSlot, C::MouseMenu + C::MarkOffset)->isVisible());
    EXPECT_FALSE(find<ui::Control>(kSlot, C::MediaMenu + C::MarkOffset)->isVisible());
}

TEST_F(ButtonPageTest, AMacroFromTheMenuReachesTheMouseWithTheTable) {
    start();
    const int macro = store::ProfileDatabase::instance().createMacro(QStringLiteral("Custom 3"));
    store::MacroEvent down{0, macro, 2, 0, 65, 1, QStringLiteral("\u2193  A")};
    store::MacroEvent up{0, macro, 3, 1, 65, 1, QStringLiteral("\u2191  A")};
    ASSERT_TRUE(store::ProfileDatabase::instance().insertMacroEvents({down, up}));
    find<ui::ComboBox>(kSlot, C::MacroMenu)->addItem(QStringLiteral("Custom 3"), macro);

    selectKey(4);
    choose(C::MacroMenu, 0);
    EXPECT_EQ(stored(4).macroType, 4);
    EXPECT_EQ(stored(4).macroValue, macro);
    EXPECT_EQ(mouseFunction(4), "macro 4 x1");
    EXPECT_EQ(mouse().heldMacro(4), (std::vector<vm::MacroStep>{{"A down", 1}, {"A up", 1}}));
}

TEST_F(ButtonPageTest, AKeyWithCtrlAndShiftFromTheKeyboardPanel) {
    start();
    selectKey(2);
    click(kSlot, C::KeyboardChoice);
    ASSERT_TRUE(find<ui::Control>(kSlot, C::KeyboardPanel)->isVisible());
    ASSERT_TRUE(waitUntil([&] {
        return find<ui::Control>(kSlot, C::CaptureField)->isAncestorOf(QApplication::focusWidget());
    }));
    typeKey(Qt::Key_Shift, 42, {}); // Shift comes from the toggles only
    typeKey(Qt::Key_A, 30, QStringLiteral("a"));
    EXPECT_EQ(find<ui::TextField>(kSlot, C::CaptureField)->text(), QStringLiteral("A"));
    click(kSlot, C::CtrlToggle);
    click(kSlot, C::ShiftToggle);
    click(kSlot, C::KeyboardConfirm);

    const store::ButtonBinding b = stored(2);
    EXPECT_EQ(b.macroType, 2);
    EXPECT_EQ(b.macroValue, 4); // usage of A
    EXPECT_EQ(b.macroValue2, 3);
    EXPECT_EQ(b.macroDesc, QStringLiteral("Shift+ Ctrl + A"));
    EXPECT_EQ(description(2), b.macroDesc);
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::SendButtons});
    EXPECT_EQ(mouseFunction(2), "key Ctrl+Shift+A");
    EXPECT_TRUE(find<ui::Control>(kSlot, C::KeyboardPanel)->isVisible()) << "stays open";
}

TEST_F(ButtonPageTest, TheKeyboardPanelTextFollowsTheCapturedKeyOnly) {
    start();
    selectKey(2);
    click(kSlot, C::KeyboardChoice);
    // Nothing captured and no toggle: nothing stored, nothing queued.
    click(kSlot, C::KeyboardConfirm);
    EXPECT_EQ(stored(2).id, 0);
    EXPECT_TRUE(tasks.empty());
    // Only Ctrl, the field holding no key: "Ctrl", whatever the field said before.
    click(kSlot, C::CtrlToggle);
    click(kSlot, C::KeyboardConfirm);
    EXPECT_EQ(stored(2).macroDesc, QStringLiteral("Ctrl"));
    EXPECT_EQ(stored(2).macroValue, 0);
    EXPECT_EQ(stored(2).macroValue2, 1);
}

TEST_F(ButtonPageTest, TabIsCapturedOnceThenLeavesTheCaptureField) {
    start();
    selectKey(2);
    click(kSlot, C::KeyboardChoice);
    QWidget* field = control(kSlot, C::CaptureField);
    ASSERT_TRUE(waitUntil([&] { return field->isAncestorOf(QApplication::focusWidget()); }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(find<ui::TextField>(kSlot, C::CaptureField)->text(), QStringLiteral("Tab"));
    ASSERT_TRUE(field->isAncestorOf(QApplication::focusWidget())) << "the first Tab is a key";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(field->isAncestorOf(QApplication::focusWidget())) << "the second one leaves";
    EXPECT_FALSE(window->keyCapture().isCapturing());
    EXPECT_EQ(find<ui::TextField>(kSlot, C::CaptureField)->text(), QStringLiteral("Tab"));
}

TEST_F(ButtonPageTest, RepeatIsClampedWhenConfirmed) {
    start();
    selectKey(3);
    click(kSlot, C::RepeatChoice);
    typeInto(kSlot, C::RepeatFirstField, QStringLiteral("300"), false);
    typeInto(kSlot, C::RepeatSecondField, QStringLiteral("3"), false);
    click(kSlot, C::RepeatConfirm); // straight from the field: no focus loss first
    store::ButtonBinding b = stored(3);
    EXPECT_EQ(b.macroType, 7);
    EXPECT_EQ(b.macroValue2, 255);
    EXPECT_EQ(b.macroValue, 5);
    EXPECT_EQ(find<ui::TextField>(kSlot, C::RepeatFirstField)->text(), QStringLiteral("255"));
    EXPECT_EQ(description(3), englishText(161));
    EXPECT_EQ(mouseFunction(3), "repeat 5/255");

    // Enter in the field also commits the limited value.
    typeInto(kSlot, C::RepeatSecondField, QStringLiteral("999"));
    EXPECT_EQ(find<ui::TextField>(kSlot, C::RepeatSecondField)->text(), QStringLiteral("255"));
    click(kSlot, C::RepeatConfirm);
    EXPECT_EQ(stored(3).macroValue, 255);
}

TEST_F(ButtonPageTest, DisableAndBothRestoresWithTheirQuestions) {
    start();
    selectKey(3);
    click(kSlot, C::DisableChoice);
    EXPECT_EQ(stored(3).macroType, 9);
    EXPECT_EQ(description(3), englishText(139));
    EXPECT_EQ(mouseFunction(3), "disabled");

    // "No" keeps everything.
    messageBoxes.answer = 2;
    tasks.clear();
    click(kSlot, C::RestoreKey);
    click(kSlot, C::RestoreAll);
    EXPECT_EQ(stored(3).macroType, 9);
    EXPECT_TRUE(tasks.empty());
    ASSERT_EQ(messageBoxes.shown.size(), 2u);
    EXPECT_EQ(messageBoxes.shown[0].text, englishText(170));

    // "Yes" to this key: its row goes, the default shows, the mouse gets the default.
    messageBoxes.answer = 1;
    click(kSlot, C::RestoreKey);
    EXPECT_EQ(stored(3).id, 0);
    EXPECT_EQ(description(3), englishText(110));
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::SendButtons});
    EXPECT_EQ(mouseFunction(3), "mouse back");

    // "Yes" to all keys, once the mouse holds both keys disabled.
    click(kSlot, C::DisableChoice);
    selectKey(4);
    click(kSlot, C::DisableChoice);
    ASSERT_EQ(mouseFunction(3), "disabled");
    ASSERT_EQ(mouseFunction(4), "disabled");
    tasks.clear();
    click(kSlot, C::RestoreAll);
    std::vector<store::ButtonBinding> left;
    EXPECT_EQ(store::ProfileDatabase::instance().listBindings(profile(), left), 0);
    EXPECT_EQ(page->selectedKey(), 0);
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::SendButtons});
    EXPECT_EQ(mouseFunction(3), "mouse back");
    EXPECT_EQ(mouseFunction(4), "mouse forward");
}

TEST_F(ButtonPageTest, EscapeClosesASubPanelExceptInTheCaptureFieldWhereItIsAKey) {
    start();
    selectKey(2);
    auto focusIn = [&](int local) {
        return waitUntil([&] {
            return control(kSlot, local)->isAncestorOf(QApplication::focusWidget()) ||
                   control(kSlot, local)->hasFocus();
        });
    };
    click(kSlot, C::KeyboardChoice);
    ASSERT_TRUE(focusIn(C::CaptureField));
    typeKey(Qt::Key_Escape, 1, QStringLiteral("\x1b"));
    EXPECT_EQ(find<ui::TextField>(kSlot, C::CaptureField)->text(), QStringLiteral("Esc"));
    EXPECT_TRUE(find<ui::Control>(kSlot, C::KeyboardPanel)->isVisible()) << "Escape was the key";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // captured, then leaves
    ASSERT_TRUE(waitUntil([&] {
        QWidget* field = control(kSlot, C::CaptureField);
        return !field->hasFocus() && !field->isAncestorOf(QApplication::focusWidget());
    }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(find<ui::Control>(kSlot, C::KeyboardPanel)->isVisible());
    EXPECT_TRUE(focusIn(C::KeyboardChoice)) << "the focus goes back to the opening button";

    click(kSlot, C::RepeatChoice);
    ASSERT_TRUE(find<ui::Control>(kSlot, C::RepeatPanel)->isVisible());
    control(kSlot, C::RepeatFirstField)->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(focusIn(C::RepeatFirstField));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(find<ui::Control>(kSlot, C::RepeatPanel)->isVisible());
    EXPECT_TRUE(focusIn(C::RepeatChoice));

    EXPECT_EQ(stored(2).id, 0) << "closing stores nothing";
    EXPECT_TRUE(tasks.empty());
}

TEST_F(ButtonPageTest, ThePrimaryKeyIsRefusedButCanBeRestored) {
    start();
    selectKey(0);
    choose(C::MediaMenu, 2);
    click(kSlot, C::DisableChoice);
    click(kSlot, C::KeyboardChoice);
    click(kSlot, C::RepeatChoice);
    ASSERT_EQ(messageBoxes.shown.size(), 4u);
    EXPECT_EQ(messageBoxes.shown[0].text, englishText(175));
    EXPECT_EQ(stored(0).id, 0);
    EXPECT_TRUE(tasks.empty());
    EXPECT_FALSE(find<ui::Control>(kSlot, C::KeyboardPanel)->isVisible());
    EXPECT_FALSE(find<ui::PushButton>(kSlot, C::DisableChoice)->isChecked());

    click(kSlot, C::RestoreKey);
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::SendButtons});
}

TEST_F(ButtonPageTest, ShowsWhatIsStoredForTheSelectedKey) {
    start();
    store::ButtonBinding wheel;
    wheel.profile = profile();
    wheel.keyCode = 4;
    wheel.macroType = 1;
    wheel.macroValue = 7; // no menu offers it
    wheel.macroDesc = QStringLiteral("old");
    store::ProfileDatabase::instance().saveBinding(wheel);
    store::ButtonBinding media = wheel;
    media.keyCode = 3;
    media.macroType = 3;
    media.macroValue = 2;
    store::ProfileDatabase::instance().saveBinding(media);
    page->loadPage();
    EXPECT_EQ(description(4), englishText(112));
    EXPECT_EQ(description(3), englishText(121));

    selectKey(4);
    EXPECT_TRUE(find<ui::Control>(kSlot, C::MouseMenu + C::MarkOffset)->isVisible());
    EXPECT_EQ(find<ui::ComboBox>(kSlot, C::MouseMenu)->currentIndex(), 0);
    selectKey(3);
    EXPECT_TRUE(find<ui::Control>(kSlot, C::MediaMenu + C::MarkOffset)->isVisible());
    EXPECT_EQ(find<ui::ComboBox>(kSlot, C::MediaMenu)->currentData(), 2);

    // The keyboard reaches the key list: Down selects the next key.
    pressKey(kSlot, C::KeyList, Qt::Key_Down);
    EXPECT_EQ(page->selectedKey(), 4);
}

// A callout of the mouse picture selects the same key as its row of the key list would:
// the list, the key's name, and the key the next menu pick is stored for.
TEST_F(ButtonPageTest, ACalloutSelectsItsKeyInTheList) {
    start();
    auto* picture = window->find<ui::MousePicture>(app::MainControl::MousePicture);
    ASSERT_NE(picture, nullptr);
    ASSERT_TRUE(picture->isVisible());
    auto* list = find<ui::KeyList>(kSlot, C::KeyList);
    ASSERT_GE(picture->count(), 3);
    ASSERT_EQ(picture->count(), list->count());
    // From the last callout back, so that every click moves the selection.
    for (int index = picture->count() - 1; index >= 0; --index) {
        const int key = picture->keyValue(index);
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->calloutRect(index).center());
        EXPECT_EQ(picture->selectedIndex(), index);
        EXPECT_EQ(list->selectedIndex(), list->indexOfKey(key)) << "key " << key;
        EXPECT_EQ(page->selectedKey(), key);
        EXPECT_EQ(control(kSlot, C::KeyName)->text(), list->name(list->indexOfKey(key)));
    }
    const int key = picture->keyValue(2);
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->calloutRect(2).center());
    choose(C::MediaMenu, 2);
    EXPECT_EQ(stored(key).macroType, 3);
    EXPECT_EQ(mouseFunction(key), "media mute");
}

} // namespace
} // namespace corvane::pages::test
