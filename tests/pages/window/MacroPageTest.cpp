// The macro page in the main window beside the button page, against the virtual mouse and
// a real store: the macro list and the button page's macro menu stay one list; every
// insert, change, move and delete is stored and reaches the mouse when a key plays the
// macro; recordings take what was typed with the chosen delays; the limits refuse with
// their message; the list's menu imports and exports macro files.
#include "window/DropDown.h"
#include "window/PageWindowTest.h"

#include "pages/buttons/ButtonPage.h"
#include "pages/host/FileDialogs.h"
#include "pages/keys/KeyCapture.h"
#include "pages/macros/MacroKeyDlg.h"
#include "pages/macros/MacroPage.h"
#include "protocol/codec/MacroStream.h"
#include "protocol/worker/DeviceTask.h"
#include "store/ProfileDatabase.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/TextField.h"
#include "ui/views/KeyList.h"
#include "ui/views/TabControl.h"
#include "virtualmouse/MouseDevice.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QShortcut>

#include <deque>

namespace corvane::pages::test {
namespace {

namespace C = MacroControl;
namespace B = ButtonControl;
constexpr PageSlot kSlot = PageSlot::Macros;
constexpr int kSendButtons = protocol::DeviceTask::SendButtons;

class AnsweringFileDialogs : public FileDialogs {
public:
    QString openFileName(QWidget*, const QString&, const QString& filter) override {
        filters.push_back(filter);
        return take();
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString& filter) override {
        filters.push_back(filter);
        return take();
    }
    QString take() {
        if (answers.empty())
            return {};
        QString next = answers.front();
        answers.pop_front();
        return next;
    }
    std::deque<QString> answers;
    std::vector<QString> filters;
};

// A key as the keyboard delivers it: Qt key, kernel scan code, text.
struct Key {
    int qt;
    unsigned kernel;
    const char* text;
};
constexpr Key kH{Qt::Key_H, 35, "h"};
constexpr Key kI{Qt::Key_I, 23, "i"};
constexpr Key kA{Qt::Key_A, 30, "a"};
constexpr Key kB{Qt::Key_B, 48, "b"};

class MacroPageTest : public PageWindowTest {
protected:
    void SetUp() override {
        PageWindowTest::SetUp();
        fileDialogs = &dialogs;
    }
    void start() {
        startWindow([&](app::DeviceMainDlg& w) {
            auto b = std::make_unique<ButtonPage>(w.pageHost());
            auto m = std::make_unique<MacroPage>(w.pageHost(), b.get());
            buttons = b.get();
            page = m.get();
            w.addPage(PageSlot::Buttons, std::move(b));
            w.addPage(kSlot, std::move(m));
        });
        page->setClock([this] { return now; });
        showPage(kSlot);
        tasks.clear();
    }
    static store::ProfileDatabase& db() { return store::ProfileDatabase::instance(); }

    ui::ListBox& macroList() const { return *find<ui::ListBox>(kSlot, C::MacroList); }
    ui::ListBox& stepList() const { return *find<ui::ListBox>(kSlot, C::EventList); }
    ui::ComboBox& macroMenu() const { return *buttons->macroMenu(); }
    QStringList macroTexts() const {
        QStringList texts;
        for (int i = 0; i < macroList().count(); ++i)
            texts << macroList().itemText(i);
        return texts;
    }
    QStringList menuTexts() const {
        QStringList texts;
        for (int i = 0; i < macroMenu().count(); ++i)
            texts << macroMenu().itemText(i);
        return texts;
    }
    // Clicks a row of a list box.
    static void clickRow(ui::ListBox& list, int row) {
        auto* view = list.findChild<QListWidget*>();
        const QRect r = view->visualItemRect(view->item(row));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    }
    // Opens a pop-up menu with a click on `button` and clicks the item labelled `label`.
    void chooseFromMenu(int button, int label) {
        click(kSlot, button);
        QMenu* menu = nullptr;
        ASSERT_TRUE(waitUntil(
            [&] {
                menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                return menu != nullptr;
            },
            2000))
            << "no menu";
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == englishText(label))
                chosen = action;
        }
        ASSERT_NE(chosen, nullptr) << "no item " << label;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
        // The command is posted to the window.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    // Types a key (press and release) into whatever has the focus.
    void typeKey(const Key& key, qint64 heldMs = 0) {
        sendKey(QEvent::KeyPress, key);
        now += heldMs;
        sendKey(QEvent::KeyRelease, key);
    }
    static void sendKey(QEvent::Type type, const Key& key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                      : QApplication::activeWindow();
        QKeyEvent event(type, key.qt, {}, key.kernel + 8, 0, 0, QString::fromLatin1(key.text));
        QApplication::sendEvent(target, &event);
    }
    std::vector<store::MacroEvent> storedSteps(int macro) const {
        std::vector<store::MacroEvent> events;
        db().listMacroEvents(macro, events);
        return events;
    }
    std::vector<std::pair<int, int>> typesAndValues(int macro) const {
        std::vector<std::pair<int, int>> out;
        for (const store::MacroEvent& e : storedSteps(macro))
            out.emplace_back(e.type, e.value);
        return out;
    }
    // Binds the macro to a key through the button page's macro menu.
    void bindWithButtonPage(int keyCode, int macro) {
        showPage(PageSlot::Buttons);
        auto* keys = find<ui::KeyList>(PageSlot::Buttons, B::KeyList);
        click(PageSlot::Buttons, B::KeyList, keys->rowRect(keys->indexOfKey(keyCode)).center());
        auto* box = find<ui::ComboBox>(PageSlot::Buttons, B::MacroMenu)->findChild<QComboBox*>();
        const int index = macroMenu().findData(macro);
        ASSERT_GE(index, 0);
        chooseByClicking(box, index);
        showPage(kSlot);
    }
    // The steps the mouse plays for the key once the worker sent what was queued, in
    // the mouse's own reading.
    std::vector<vm::MacroStep> mousePlays(int keyCode) {
        waitForWorker();
        return mouse().heldMacro(keyCode);
    }
    // After one edit of a macro a key plays: the key table (with the macro) was queued
    // once and the mouse plays `steps`.
    void expectSentOnce(int keyCode, const std::vector<vm::MacroStep>& steps) {
        EXPECT_EQ(tasks, std::vector<int>{kSendButtons});
        EXPECT_EQ(mousePlays(keyCode), steps);
        tasks.clear();
    }
    int newMacro() {
        click(kSlot, C::NewMacro);
        return page->selectedMacro();
    }

    AnsweringFileDialogs dialogs;
    ButtonPage* buttons = nullptr;
    MacroPage* page = nullptr;
    qint64 now = 5000;
};

TEST_F(MacroPageTest, TheMacroListAndTheButtonMenuAreOneList) {
    start();
    const int first = newMacro();
    const int second = newMacro();
    ASSERT_GT(first, 0);
    EXPECT_EQ(macroTexts(), (QStringList{"Custom 1", "Custom 2"}));
    EXPECT_EQ(menuTexts(), macroTexts());
    EXPECT_EQ(macroMenu().itemData(1), second);

    // A key playing the first macro follows its new name; an empty name, or one the store
    // refuses, shows the stored one again everywhere.
    bindWithButtonPage(3, first);
    auto* view = macroList().findChild<QListWidget*>();
    struct Rename {
        QString text;
        const char* stored;
        bool refused;
    };
    for (const auto& [text, stored, refused] :
         {Rename{QStringLiteral("Greeting"), "Greeting", false},
          Rename{QString(), "Greeting", false},
          Rename{QStringLiteral("Farewell"), "Greeting", true}}) {
        if (refused) {
            ASSERT_EQ(db().connection().exec("CREATE TRIGGER refuse BEFORE UPDATE ON t_macro_data "
                                             "BEGIN SELECT RAISE(ABORT, 'no'); END"),
                      0);
        }
        focus(kSlot, C::MacroList);
        QTest::keyClick(view, Qt::Key_Home);
        QTest::keyClick(view, Qt::Key_F2);
        ASSERT_TRUE(macroList().isEditing());
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The list commits a Return from the event loop.
        ASSERT_TRUE(waitUntil([&] { return !macroList().isEditing(); }, 2000));
        spin(5);
        store::MacroDefinition macro;
        ASSERT_TRUE(db().getMacro(first, macro));
        EXPECT_EQ(macro.name, QString::fromLatin1(stored));
        EXPECT_EQ(macroTexts()[0], QString::fromLatin1(stored));
        if (refused) {
            ASSERT_EQ(db().connection().exec("DROP TRIGGER refuse"), 0);
        }
    }
    EXPECT_EQ(menuTexts(), macroTexts());
    store::ButtonBinding bound;
    ASSERT_TRUE(db().getBinding(profile(), 3, bound));
    EXPECT_EQ(bound.macroDesc, QStringLiteral("Greeting"));
    auto* keys = find<ui::KeyList>(PageSlot::Buttons, B::KeyList);
    EXPECT_EQ(keys->description(keys->indexOfKey(3)), QStringLiteral("Greeting"));

    // Deleting the second shows the first with its own steps: the next edit keeps them.
    clickRow(macroList(), 0);
    chooseFromMenu(C::Insert, 415);
    clickRow(macroList(), 1);
    EXPECT_EQ(stepList().count(), 0);
    click(kSlot, C::DeleteMacro);
    EXPECT_EQ(macroTexts(), QStringList{"Greeting"});
    EXPECT_EQ(menuTexts(), macroTexts());
    EXPECT_EQ(page->selectedMacro(), first);
    EXPECT_EQ(stepList().count(), 4);
    chooseFromMenu(C::Insert, 398);
    EXPECT_EQ(storedSteps(first).size(), 5u);
    store::MacroDefinition gone;
    EXPECT_FALSE(db().getMacro(second, gone));
}

TEST_F(MacroPageTest, NamesShowTheLanguagesWordsForCustomAndCopy) {
    start();
    db().createMacro(QStringLiteral("Custom 2"));
    db().createMacro(QStringLiteral("Macro Copy"));
    db().createMacro(QStringLiteral("\u81EA\u5B9A\u4E49 3"));
    page->reload();
    EXPECT_EQ(macroTexts(), (QStringList{englishText(351) + " 2", "Macro  " + englishText(31),
                                         englishText(351) + " 3"}));
    store::MacroDefinition stored;
    ASSERT_TRUE(db().getMacro(macroList().itemData(1), stored));
    EXPECT_EQ(stored.name, QStringLiteral("Macro Copy"));
}

TEST_F(MacroPageTest, InsertChangeMoveAndDeleteReachTheMouse) {
    start();
    const int macro = newMacro();
    bindWithButtonPage(4, macro);
    waitForWorker();
    ASSERT_EQ(held().buttons[4], "macro 4 x1");
    ASSERT_TRUE(mousePlays(4).empty());
    tasks.clear();

    // A left click at the end: down, 10 ms, up, 10 ms; down and up share one number.
    chooseFromMenu(C::Insert, 415);
    std::vector<store::MacroEvent> steps = storedSteps(macro);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(typesAndValues(macro),
              (std::vector<std::pair<int, int>>{{4, 1}, {1, 10}, {5, 1}, {1, 10}}));
    EXPECT_EQ(steps[0].desc, QStringLiteral("\u2193  LB"));
    EXPECT_EQ(steps[0].timestamp, steps[2].timestamp);
    EXPECT_EQ(steps[1].timestamp, steps[0].timestamp + 1);
    EXPECT_EQ(steps[3].timestamp, steps[0].timestamp + 2);
    expectSentOnce(4, {{"left button down", 10}, {"left button up", 10}});

    // A key press after the selected entry, from the key dialog.
    clickRow(stepList(), 3);
    const auto keyDialog =
        whenModal(QString::fromLatin1(kMacroKeyDlgTitle), [&](ui::Dialog& dialog) {
            dialog.activateWindow();
            auto* field = dialog.find<ui::TextField>(MacroKeyDlg::KeyField);
            field->findChild<QLineEdit*>()->setFocus();
            ASSERT_TRUE(
                waitUntil([&] { return field->findChild<QLineEdit*>()->hasFocus(); }, 2000));
            typeKey(kA);
            EXPECT_EQ(field->text(), QStringLiteral("A"));
            QWidget* confirm = dialog.control(MacroKeyDlg::Confirm);
            QTest::mouseClick(confirm, Qt::LeftButton, {}, confirm->rect().center());
        });
    chooseFromMenu(C::Insert, 397);
    EXPECT_EQ(typesAndValues(macro),
              (std::vector<std::pair<int, int>>{
                  {4, 1}, {1, 10}, {5, 1}, {1, 10}, {2, 65}, {1, 10}, {3, 65}, {1, 10}}));
    expectSentOnce(
        4, {{"left button down", 10}, {"left button up", 10}, {"A down", 10}, {"A up", 10}});

    // Changing the key of the press changes its down and up together.
    clickRow(stepList(), 6);
    focus(kSlot, C::ValueField);
    typeKey(kB);
    dropFocus();
    EXPECT_EQ(storedSteps(macro)[4].value, 66);
    EXPECT_EQ(storedSteps(macro)[6].desc, QStringLiteral("\u2191  B"));
    expectSentOnce(
        4, {{"left button down", 10}, {"left button up", 10}, {"B down", 10}, {"B up", 10}});

    // A delay: typed past its limit it is kept at 10000 ms.
    clickRow(stepList(), 1);
    typeInto(kSlot, C::ValueField, QStringLiteral("99999"));
    EXPECT_EQ(storedSteps(macro)[1].value, 10000);
    EXPECT_EQ(storedSteps(macro)[1].desc, QStringLiteral("10000 ms"));
    expectSentOnce(
        4, {{"left button down", 10000}, {"left button up", 10}, {"B down", 10}, {"B up", 10}});

    // The click becomes a right click (down and up).
    clickRow(stepList(), 2);
    auto* buttonBox = find<ui::ComboBox>(kSlot, C::ButtonSelector)->findChild<QComboBox*>();
    chooseByClicking(buttonBox, 1);
    EXPECT_EQ(storedSteps(macro)[0].value, 2);
    EXPECT_EQ(storedSteps(macro)[2].desc, QStringLiteral("\u2191  RB"));
    expectSentOnce(
        4, {{"right button down", 10000}, {"right button up", 10}, {"B down", 10}, {"B up", 10}});

    // A delay inserted in front of the selected entry, then moves and deletes.
    clickRow(stepList(), 2);
    chooseFromMenu(C::Insert, 398);
    EXPECT_EQ(storedSteps(macro)[2].type, 1);
    EXPECT_EQ(storedSteps(macro).size(), 9u);
    expectSentOnce(
        4, {{"right button down", 10010}, {"right button up", 10}, {"B down", 10}, {"B up", 10}});
    clickRow(stepList(), 8);
    chooseFromMenu(C::EventMore, 400); // to the top
    EXPECT_EQ(typesAndValues(macro)[0], (std::pair{1, 10}));
    // A delay before the first press is played after it; the last press has no pause.
    expectSentOnce(
        4, {{"right button down", 10020}, {"right button up", 10}, {"B down", 10}, {"B up", 1}});
    click(kSlot, C::MoveDown);
    EXPECT_EQ(typesAndValues(macro)[0], (std::pair{4, 2}));
    EXPECT_EQ(stepList().currentIndex(), 1) << "the selection follows the entry";
    // Two pauses side by side: the mouse plays the same as before the move.
    expectSentOnce(
        4, {{"right button down", 10020}, {"right button up", 10}, {"B down", 10}, {"B up", 1}});
    click(kSlot, C::DeleteEntry);
    EXPECT_EQ(storedSteps(macro).size(), 8u);
    expectSentOnce(
        4, {{"right button down", 10010}, {"right button up", 10}, {"B down", 10}, {"B up", 1}});
    click(kSlot, C::ClearAll);
    EXPECT_TRUE(storedSteps(macro).empty());
    expectSentOnce(4, {});
    EXPECT_EQ(held().buttons[4], "macro 4 x1");
}

TEST_F(MacroPageTest, PlayAndDelayChoicesAreStoredWithinTheirLimits) {
    start();
    const int macro = newMacro();
    bindWithButtonPage(3, macro);
    tasks.clear();
    auto* count = find<ui::TextField>(kSlot, C::CountField);
    EXPECT_TRUE(count->isEnabled());
    typeInto(kSlot, C::CountField, QStringLiteral("300"));
    EXPECT_EQ(count->text(), QStringLiteral("255")) << "the mouse takes one byte";
    store::MacroDefinition stored;
    ASSERT_TRUE(db().getMacro(macro, stored));
    EXPECT_EQ(stored.playTimes, 255);
    EXPECT_EQ(tasks, std::vector<int>{kSendButtons}) << "a key plays it";

    click(kSlot, C::PlayToggle);
    EXPECT_FALSE(count->isEnabled());
    click(kSlot, C::FixedDelay);
    typeInto(kSlot, C::DelayField, QStringLiteral("0"));
    EXPECT_EQ(find<ui::TextField>(kSlot, C::DelayField)->text(), QStringLiteral("1"));
    ASSERT_TRUE(db().getMacro(macro, stored));
    EXPECT_EQ(stored.playType, 2);
    EXPECT_EQ(stored.playTimes, 1);
    EXPECT_EQ(stored.delayType, 2);
    EXPECT_EQ(stored.delayTime, 1);

    // Shown again as stored after a reload.
    page->reload();
    EXPECT_TRUE(find<ui::RadioButton>(kSlot, C::PlayToggle)->isChecked());
    EXPECT_TRUE(find<ui::RadioButton>(kSlot, C::FixedDelay)->isChecked());
    EXPECT_EQ(find<ui::TextField>(kSlot, C::DelayField)->text(), QStringLiteral("1"));
}

TEST_F(MacroPageTest, RecordsATypedWordWithEachDelayMode) {
    start();
    const int macro = newMacro();
    struct Case {
        int choice;
        std::vector<std::pair<int, int>> expected;
    };
    const Case cases[] = {
        {C::RecordedDelay,
         {{2, 72}, {1, 40}, {3, 72}, {1, 100}, {2, 73}, {1, 40}, {3, 73}, {1, 700}}},
        {C::FixedDelay, {{2, 72}, {1, 10}, {3, 72}, {1, 10}, {2, 73}, {1, 10}, {3, 73}, {1, 10}}},
        {C::NoDelay, {{2, 72}, {3, 72}, {2, 73}, {3, 73}}},
    };
    for (const Case& c : cases) {
        click(kSlot, C::ClearAll);
        click(kSlot, c.choice);
        tasks.clear();
        click(kSlot, C::Record);
        ASSERT_TRUE(page->isRecording());
        EXPECT_FALSE(window->control(48)->isEnabled()) << "the tabs wait for the recording";
        EXPECT_FALSE(window->control(45)->isEnabled()) << "so does the profile button";
        EXPECT_FALSE(control(kSlot, C::NewMacro)->isEnabled());
        EXPECT_EQ(find<ui::PushButton>(kSlot, C::Record)->accessibleName(), englishText(359));
        typeKey(kH, 40);
        now += 100;
        typeKey(kI, 40);
        now += 700;
        click(kSlot, C::Record);
        EXPECT_FALSE(page->isRecording());
        EXPECT_TRUE(window->control(48)->isEnabled());
        EXPECT_EQ(typesAndValues(macro), c.expected) << c.choice;
        EXPECT_EQ(storedSteps(macro)[0].desc, QStringLiteral("\u2193  H"));
        EXPECT_TRUE(tasks.empty()) << "no key plays it";
    }
}

TEST_F(MacroPageTest, RecordingLimitsAndLongPauses) {
    start();
    const int macro = newMacro();
    click(kSlot, C::Record);
    typeKey(kA, 40000); // held longer than a step can wait
    for (int i = 0; i < 14; ++i)
        typeKey(kB, 20);
    // 30 key steps: the recording stops itself and says so.
    EXPECT_FALSE(page->isRecording());
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].text, englishText(386));
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(355));
    const std::vector<store::MacroEvent> steps = storedSteps(macro);
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps[1].value, 31000);
    EXPECT_EQ(std::count_if(steps.begin(), steps.end(), [](const auto& e) { return e.type != 1; }),
              30);

    // Starting again on a full macro stops at the first key; the keys go nowhere else.
    click(kSlot, C::Record);
    typeKey(kA);
    EXPECT_FALSE(page->isRecording());
    EXPECT_EQ(messageBoxes.shown.size(), 2u);
    EXPECT_EQ(storedSteps(macro).size(), steps.size());

    // Without a macro there is nothing to record into.
    click(kSlot, C::DeleteMacro);
    click(kSlot, C::Record);
    EXPECT_FALSE(page->isRecording());
    EXPECT_EQ(messageBoxes.shown.back().text, englishText(387));
}

// A recording nobody types into ends 62 s after the last key (twice the longest pause
// it keeps), with what it recorded; the test turns the page's clock.
TEST_F(MacroPageTest, ARecordingNobodyTypesIntoEndsAfter62Seconds) {
    start();
    const int macro = newMacro();
    click(kSlot, C::Record);
    ASSERT_TRUE(page->isRecording());
    now += 61999;
    page->checkRecordingIdle();
    ASSERT_TRUE(page->isRecording()) << "not before 62 s";
    typeKey(kA, 30); // starts the 62 s again
    now += 61999;
    page->checkRecordingIdle();
    ASSERT_TRUE(page->isRecording()) << "62 s from the last key, not from the start";
    now += 1;
    page->checkRecordingIdle();
    EXPECT_FALSE(page->isRecording());
    EXPECT_FALSE(window->keyCapture().isCapturing());
    EXPECT_TRUE(window->control(48)->isEnabled()) << "the tabs are free again";
    EXPECT_EQ(typesAndValues(macro).front(), (std::pair{2, 65})) << "the A is kept";
}

// Without a macro an insert has nowhere to go: the page says to pick one and stores
// nothing.
TEST_F(MacroPageTest, InsertWithNoMacroSelectedOnlySaysSo) {
    start();
    ASSERT_LE(page->selectedMacro(), 0);
    for (const int item : {398, 417}) { // a delay, a right click
        SCOPED_TRACE(item);
        const std::size_t boxes = messageBoxes.shown.size();
        chooseFromMenu(C::Insert, item);
        ASSERT_EQ(messageBoxes.shown.size(), boxes + 1);
        EXPECT_EQ(messageBoxes.shown.back().text, englishText(387));
        EXPECT_EQ(page->steps().size(), 0);
    }
    std::vector<store::MacroEvent> orphans;
    db().listMacroEvents(0, orphans);
    EXPECT_TRUE(orphans.empty());
    EXPECT_TRUE(tasks.empty());
}

// The page reloads (the worker's refresh, a profile switch) while the key dialog is open:
// the key it gives belongs to the steps it was asked for, which are gone, so it goes
// nowhere rather than into the macro the reload selected.
TEST_F(MacroPageTest, AKeyDialogLeftOpenAcrossAReloadInsertsNothing) {
    start();
    const int first = newMacro();
    const int second = newMacro();
    ASSERT_EQ(page->selectedMacro(), second);
    const auto keyDialog =
        whenModal(QString::fromLatin1(kMacroKeyDlgTitle), [&](ui::Dialog& dialog) {
            page->reload(); // selects the first macro
            ASSERT_EQ(page->selectedMacro(), first);
            dialog.activateWindow();
            auto* field = dialog.find<ui::TextField>(MacroKeyDlg::KeyField);
            field->findChild<QLineEdit*>()->setFocus();
            ASSERT_TRUE(waitUntil([&] { return field->findChild<QLineEdit*>()->hasFocus(); }));
            typeKey(kA);
            ASSERT_EQ(field->text(), QStringLiteral("A"));
            QWidget* confirm = dialog.control(MacroKeyDlg::Confirm);
            QTest::mouseClick(confirm, Qt::LeftButton, {}, confirm->rect().center());
        });
    chooseFromMenu(C::Insert, 397);
    EXPECT_TRUE(keyDialog.ran());
    EXPECT_TRUE(storedSteps(first).empty()) << "not into the macro the reload selected";
    EXPECT_TRUE(storedSteps(second).empty());
    EXPECT_EQ(page->steps().size(), 0);
}

TEST_F(MacroPageTest, InsertsStopAtTheLimitsOfTheListAndOfTheMouse) {
    start();
    const int macro = newMacro();
    // 200 entries: an insert is refused.
    std::vector<store::MacroEvent> many;
    for (int i = 0; i < 200; ++i)
        many.push_back({0, macro, 1, i, 10, i, QStringLiteral("10 ms")});
    ASSERT_TRUE(db().insertMacroEvents(many));
    page->reload();
    chooseFromMenu(C::Insert, 398);
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(368));
    EXPECT_EQ(storedSteps(macro).size(), 200u);

    // 100 key steps without delays (an imported macro) take 401 of the 405 bytes that 15
    // packets carry: a click more would never reach the mouse, so it is refused.
    click(kSlot, C::ClearAll);
    std::vector<store::MacroEvent> keys;
    for (int i = 0; i < 100; ++i)
        keys.push_back({0, macro, 2 + i % 2, i, 65, i / 2, QStringLiteral("A")});
    ASSERT_TRUE(db().insertMacroEvents(keys));
    page->reload();
    ASSERT_EQ(protocol::buildMacroStream(0, storedSteps(macro)).bytes.size(), 401u);
    chooseFromMenu(C::Insert, 415);
    ASSERT_EQ(messageBoxes.shown.size(), 2u);
    EXPECT_EQ(messageBoxes.shown[1].text, englishText(386));
    EXPECT_EQ(storedSteps(macro).size(), 100u);
    // A delay adds no record: it still goes in.
    chooseFromMenu(C::Insert, 398);
    EXPECT_EQ(messageBoxes.shown.size(), 2u);
    EXPECT_EQ(storedSteps(macro).size(), 101u);
}

TEST_F(MacroPageTest, AReloadOrALostKeyboardEndsTheRecordingIntoItsMacro) {
    start();
    const int first = newMacro();
    const int second = newMacro();
    ASSERT_EQ(page->selectedMacro(), second);
    click(kSlot, C::Record);
    typeKey(kA, 30);
    page->reload(); // the worker's refresh selects the first macro
    EXPECT_FALSE(page->isRecording());
    EXPECT_TRUE(storedSteps(first).empty());
    EXPECT_EQ(typesAndValues(second).front(), (std::pair{2, 65}));
    EXPECT_TRUE(window->control(48)->isEnabled());

    // Another window takes the keyboard: the recording stops with what it has.
    clickRow(macroList(), 0);
    click(kSlot, C::Record);
    typeKey(kB, 30);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return !page->isRecording(); }, 3000));
    EXPECT_EQ(typesAndValues(first).front(), (std::pair{2, 66}));
    EXPECT_FALSE(window->keyCapture().isCapturing());

    // A language change reloads the page too.
    clickRow(macroList(), 1);
    click(kSlot, C::Record);
    typeKey(kH, 30);
    window->setLanguage(2052);
    EXPECT_FALSE(page->isRecording());
    EXPECT_EQ(typesAndValues(second).size(), 6u) << "A, a delay, A; then H, a delay, H";
    EXPECT_EQ(storedSteps(second)[3].value, 72);
}

TEST_F(MacroPageTest, AMacroGivenToTwoKeysInARowReachesBoth) {
    start();
    ASSERT_GT(newMacro(), 0);
    chooseFromMenu(C::Insert, 417);
    showPage(PageSlot::Buttons);
    auto* keys = find<ui::KeyList>(PageSlot::Buttons, B::KeyList);
    auto* box = find<ui::ComboBox>(PageSlot::Buttons, B::MacroMenu)->findChild<QComboBox*>();
    // Both before the worker takes the first task.
    for (int key : {3, 4}) {
        click(PageSlot::Buttons, B::KeyList, keys->rowRect(keys->indexOfKey(key)).center());
        chooseByClicking(box, 0);
    }
    const std::vector<vm::MacroStep> rightClick = {{"right button down", 10},
                                                   {"right button up", 10}};
    EXPECT_EQ(mousePlays(3), rightClick);
    EXPECT_EQ(mousePlays(4), rightClick);
    EXPECT_EQ(held().buttons[3], "macro 3 x1");
    EXPECT_EQ(held().buttons[4], "macro 4 x1");
}

TEST_F(MacroPageTest, TheListMenuImportsAndExportsMacroFiles) {
    start();
    const int macro = newMacro();
    chooseFromMenu(C::Insert, 416);
    QTemporaryDir files;
    const QString one = files.filePath(QStringLiteral("one.xml"));
    const QString all = files.filePath(QStringLiteral("all.xml"));

    dialogs.answers = {one};
    chooseFromMenu(C::MacroMore, 27);
    ASSERT_TRUE(QFile::exists(one));
    dialogs.answers = {all};
    chooseFromMenu(C::MacroMore, 411);
    ASSERT_TRUE(QFile::exists(all));
    EXPECT_EQ(dialogs.filters, (std::vector<QString>{QStringLiteral("Macro (*.xml)"),
                                                     QStringLiteral("Macro (*.xml)")}));

    dialogs.answers = {one};
    chooseFromMenu(C::MacroMore, 26);
    ASSERT_EQ(macroList().count(), 2) << macroTexts().join(u'|').toStdString();
    EXPECT_EQ(menuTexts(), macroTexts());
    const int imported = macroList().itemData(1);
    EXPECT_NE(imported, macro);
    EXPECT_EQ(typesAndValues(imported), typesAndValues(macro));

    // The all-macros file was written while one macro existed.
    dialogs.answers = {all};
    chooseFromMenu(C::MacroMore, 410);
    ASSERT_EQ(macroList().count(), 3);
    EXPECT_EQ(menuTexts(), macroTexts());
    EXPECT_EQ(typesAndValues(macroList().itemData(2)), typesAndValues(macro));

    // Cancelled dialogs change nothing.
    chooseFromMenu(C::MacroMore, 26);
    EXPECT_EQ(macroList().count(), 3);
}

TEST_F(MacroPageTest, AShortcutTypedWhileRecordingIsRecordedNotRun) {
    start();
    const int macro = newMacro();
    int fired = 0;
    QShortcut shortcut(QKeySequence(Qt::CTRL | Qt::Key_W), window.get());
    QObject::connect(&shortcut, &QShortcut::activated, [&] { ++fired; });
    click(kSlot, C::Record);
    EXPECT_EQ(QWidget::keyboardGrabber(), window.get()) << "the window holds the keyboard";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
    click(kSlot, C::Record);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    std::vector<int> keys;
    for (const auto& [type, value] : typesAndValues(macro)) {
        if (type == 2)
            keys.push_back(value);
    }
    // The test's Ctrl carries no scan code, so its side is unknown (17).
    EXPECT_EQ(keys, (std::vector<int>{17, 87})) << "Ctrl, then W";
}

TEST_F(MacroPageTest, TheListsContextMenusOfferTheirCommands) {
    start();
    newMacro();
    chooseFromMenu(C::Insert, 415);
    // The macro list's: its file commands.
    QWidget* view = macroList().findChild<QListWidget*>()->viewport();
    QContextMenuEvent onMacros(QContextMenuEvent::Keyboard, QPoint(5, 5),
                               view->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view, &onMacros);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList labels;
    for (QAction* action : menu->actions())
        labels << action->text();
    EXPECT_EQ(labels,
              (QStringList{englishText(26), englishText(27), englishText(410), englishText(411)}));
    menu->close();
    // The step list's: moving the selected step.
    clickRow(stepList(), 2);
    QWidget* steps = stepList().findChild<QListWidget*>()->viewport();
    QContextMenuEvent onSteps(QContextMenuEvent::Mouse, QPoint(5, 5),
                              steps->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(steps, &onSteps);
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[0]).center());
    spin(20);
    EXPECT_EQ(page->steps().at(0).type, 5) << "the up step moved to the top";
}

} // namespace
} // namespace corvane::pages::test
