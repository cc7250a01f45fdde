#include "pages/macros/MacroPage.h"

#include "exchange/MacroFile.h"
#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/host/FileDialogs.h"
#include "pages/host/MacroBindings.h"
#include "pages/host/PageControls.h"
#include "pages/host/PageHost.h"
#include "pages/keys/KeyCapture.h"
#include "pages/macros/KeyboardGrab.h"
#include "pages/macros/MacroKeyDlg.h"
#include "pages/macros/MacroNames.h"
#include "pages/macros/MacroStore.h"
#include "protocol/codec/BindingType.h"
#include "protocol/codec/MacroStream.h"
#include "protocol/worker/DeviceTask.h"
#include "store/ProfileDatabase.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/Menu.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/TextField.h"

#include <QContextMenuEvent>

#include <algorithm>
#include <array>
#include <utility>

namespace corvane::pages {

namespace C = MacroControl;

namespace {

using protocol::MacroEventType;

// Interface texts the page's logic uses (the controls' own are in MacroLayout.cpp).
enum Text : int {
    CopyWord = 31,
    CustomWord = 351,
    StepsTitle = 355,
    StartRecording = 358,
    StopRecording = 359,
    InsertTitle = 368,
    KeyTip = 385,
    LimitText = 386,
    SelectMacroText = 387,
    ButtonType = 393,
    KeyType = 394,
    DelayType = 395,
};

// The editor's type selector: what its one item stands for.
namespace StepKind {
constexpr int Button = 1;
constexpr int Key = 2;
constexpr int Delay = 3;
} // namespace StepKind

constexpr int kKeyFieldCharacters = 10;
// A recording nobody types into for this long ends: twice the longest pause it keeps.
constexpr int kIdleRecordingLimitMs = 2 * kMaxRecordedDelayMs;
constexpr int kDelayFieldCharacters = 5;

// The delay choices and the macro's delay_type; the play choices and its play_type.
struct Choice {
    int control;
    int stored;
};
constexpr std::array kDelayChoices{Choice{C::NoDelay, 0}, Choice{C::RecordedDelay, 1},
                                   Choice{C::FixedDelay, 2}};
constexpr std::array kPlayChoices{Choice{C::PlayWhileHeld, 1}, Choice{C::PlayToggle, 2},
                                  Choice{C::PlayCount, 0}};
constexpr int kFixedDelayType = 2;
constexpr int kCountedPlayType = 0;

// Every control but the record button: what a recording disables.
constexpr int kLockedWhileRecording[] = {
    C::MacroList,     C::MacroMore,  C::NewMacro,     C::DeleteMacro,   C::EventList,
    C::EventMore,     C::Insert,     C::DeleteEntry,  C::ClearAll,      C::NoDelay,
    C::RecordedDelay, C::FixedDelay, C::DelayField,   C::PlayWhileHeld, C::PlayToggle,
    C::PlayCount,     C::CountField, C::TypeSelector, C::ValueField,    C::ButtonSelector,
    C::MoveUp,        C::MoveDown,
};

// The insert menu: label text and command; the click commands' buttons.
constexpr std::pair<int, int> kInsertItems[] = {
    {415, MacroCommand::LeftClick},   {416, MacroCommand::MiddleClick},
    {417, MacroCommand::RightClick},  {397, MacroCommand::InsertKey},
    {398, MacroCommand::InsertDelay},
};
constexpr std::pair<int, int> kClickBits[] = {
    {MacroCommand::LeftClick, 1}, {MacroCommand::MiddleClick, 4}, {MacroCommand::RightClick, 2}};
constexpr std::pair<int, int> kReorderItems[] = {{400, MacroCommand::ToTop},
                                                 {401, MacroCommand::Up},
                                                 {402, MacroCommand::Down},
                                                 {403, MacroCommand::ToBottom}};

bool isKeyStep(int type) {
    return type == int(MacroEventType::KeyDown) || type == int(MacroEventType::KeyUp);
}
bool isButtonStep(int type) {
    return type == int(MacroEventType::ButtonDown) || type == int(MacroEventType::ButtonUp);
}

// The key name of a key step's text ("↓  A" is A).
QString keyNameOf(const MacroEntry& entry) {
    const QString prefix = downText({});
    return entry.desc.size() > prefix.size() ? entry.desc.mid(prefix.size()) : QString();
}

store::ProfileDatabase& db() {
    return store::ProfileDatabase::instance();
}

} // namespace

// The context menu of a list (right click, the menu key, Shift+F10) opens the same menu
// as the list's menu button, where it was asked for.
class MacroPage::ContextMenus : public QObject {
public:
    ContextMenus(QWidget* macros, QWidget* steps, MacroPage& page)
        : m_macros(macros), m_steps(steps), m_page(page) {
        macros->installEventFilter(this);
        steps->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ContextMenu || m_page.isRecording())
            return false;
        const QPoint at = static_cast<QContextMenuEvent*>(event)->globalPos();
        if (watched == m_macros)
            m_page.openMacroMenu(at + QPoint(2, 2));
        else if (watched == m_steps)
            m_page.openReorderMenu(at + QPoint(-125, 2));
        return true;
    }

private:
    QObject* m_macros;
    QObject* m_steps;
    MacroPage& m_page;
};

MacroPage::MacroPage(PageHost& host, MacroBindings* buttons)
    : m_host(host), m_buttons(buttons), m_grab(std::make_unique<KeyboardGrab>()) {}

MacroPage::~MacroPage() = default;

void MacroPage::watchContextMenus() {
    m_contextMenus = std::make_unique<ContextMenus>(m_controls->control(C::MacroList),
                                                    m_controls->control(C::EventList), *this);
}

QString MacroPage::text(int id) const {
    return i18n::lookupText(i18n::kTextSection, id);
}

void MacroPage::refuse(int title, int message) {
    // The box must answer Enter and Escape: no capture may take them.
    m_host.keyCapture().stopCapture();
    m_host.showMessage(text(message), text(title), MessageOneButton);
}

int MacroPage::selectedMacro() const {
    if (!m_controls)
        return 0;
    const auto* list = m_controls->find<ui::ListBox>(C::MacroList);
    return list->currentIndex() >= 0 ? list->currentData() : 0;
}

// --- macros -------------------------------------------------------------------------------

void MacroPage::loadPage() {
    if (!m_controls)
        return;
    // Whatever is being recorded belongs to the macro it was recorded into, not to the
    // one the reload selects.
    stopRecording();
    m_loaded = true;
    auto* list = m_controls->find<ui::ListBox>(C::MacroList);
    list->clear();
    m_list.clear();
    std::vector<store::MacroDefinition> macros;
    db().listMacros(macros);
    for (const store::MacroDefinition& macro : macros)
        list->addItem(macroDisplayName(macro.name, text(CustomWord), text(CopyWord)), macro.id);
    syncMacroMenu();
    if (list->count() > 0) {
        list->setCurrentIndex(0);
        showMacro(list->itemData(0));
    } else {
        showSteps();
        showEntryEditor(-1);
    }
    if (m_buttons)
        m_buttons->macrosListed();
}

void MacroPage::syncMacroMenu() {
    ui::ComboBox* menu = m_buttons ? m_buttons->macroMenu() : nullptr;
    if (!menu)
        return;
    const int kept = menu->currentData();
    menu->clear();
    const auto* list = m_controls->find<ui::ListBox>(C::MacroList);
    for (int i = 0; i < list->count(); ++i)
        menu->addItem(list->itemText(i), list->itemData(i));
    if (!menu->selectData(kept))
        menu->setCurrentIndex(menu->count() > 0 ? 0 : -1);
}

void MacroPage::showMacro(int macroId) {
    showEntryEditor(-1);
    auto* delay = m_controls->find<ui::NumberField>(C::DelayField);
    auto* count = m_controls->find<ui::NumberField>(C::CountField);
    delay->setEnabled(false);
    count->setEnabled(false);
    store::MacroDefinition macro;
    if (!db().getMacro(macroId, macro)) {
        m_list.clear();
        showSteps();
        return;
    }
    for (const Choice& choice : kDelayChoices) {
        if (choice.stored == macro.delayType)
            m_controls->find<ui::RadioButton>(choice.control)->setChecked(true);
    }
    if (macro.delayType == kFixedDelayType) {
        delay->setEnabled(true);
        delay->setValue(macro.delayTime);
    }
    for (const Choice& choice : kPlayChoices) {
        if (choice.stored == macro.playType)
            m_controls->find<ui::RadioButton>(choice.control)->setChecked(true);
    }
    if (macro.playType == kCountedPlayType) {
        count->setEnabled(true);
        count->setValue(macro.playTimes);
    }
    std::vector<store::MacroEvent> events;
    db().listMacroEvents(macroId, events);
    m_list.fromEvents(events);
    showSteps();
}

void MacroPage::addListedMacro(int id, const QString& storedName) {
    auto* list = m_controls->find<ui::ListBox>(C::MacroList);
    list->addItem(macroDisplayName(storedName, text(CustomWord), text(CopyWord)), id);
}

void MacroPage::newMacro() {
    auto* list = m_controls->find<ui::ListBox>(C::MacroList);
    const QString name = QStringLiteral("%1 %2").arg(text(CustomWord)).arg(list->count() + 1);
    const int id = db().createMacro(name);
    if (id <= 0)
        return;
    addListedMacro(id, name);
    syncMacroMenu();
    list->setCurrentIndex(list->count() - 1);
    showMacro(id);
}

void MacroPage::removeMacro() {
    auto* list = m_controls->find<ui::ListBox>(C::MacroList);
    const int index = list->currentIndex();
    const int id = selectedMacro();
    if (id <= 0 || !db().deleteMacro(id))
        return;
    list->removeItem(index);
    syncMacroMenu();
    // The macro now selected is shown with its own steps and settings: an empty list
    // under its name would be stored into it by the next edit.
    list->setCurrentIndex(index - 1);
    if (index - 1 >= 0) {
        showMacro(list->itemData(index - 1));
    } else {
        m_list.clear();
        showSteps();
        showEntryEditor(-1);
    }
}

void MacroPage::commitMacroRename(int index) {
    auto* list = m_controls->find<ui::ListBox>(C::MacroList);
    const int id = list->itemData(index);
    store::MacroDefinition macro;
    if (id <= 0 || !db().getMacro(id, macro))
        return;
    const QString name = list->itemText(index).trimmed();
    // An empty name, or one the store refuses, gives the list the stored name back; the
    // menu and the keys' texts change only for a name that was stored.
    if (name.isEmpty() || !db().renameMacro(id, name)) {
        list->setItemText(index, macroDisplayName(macro.name, text(CustomWord), text(CopyWord)));
        return;
    }
    list->setItemText(index, name);
    syncMacroMenu();
    const int profile = m_host.currentProfile();
    for (int key : keysPlayingMacro(db(), profile, id)) {
        db().updateBindingDesc(profile, key, name);
        if (m_buttons)
            m_buttons->showKeyDescription(key, name);
    }
}

void MacroPage::openMacroMenu(std::optional<QPoint> at) {
    ui::PopupMenu menu;
    menu.addItem(text(26), MacroCommand::ImportMacro);
    if (selectedMacro() > 0) {
        menu.addItem(text(27), MacroCommand::ExportMacro);
        menu.addItem(text(410), MacroCommand::ImportAll);
        menu.addItem(text(411), MacroCommand::ExportAll);
    }
    QWidget* more = m_controls->control(C::MacroMore);
    menu.popup(&m_controls->window(), at.value_or(more->mapToGlobal(QPoint(2, more->height() + 2))),
               MacroMessage::MacroMenu);
}

void MacroPage::macroFileCommand(int command) {
    const QString filter = QString::fromLatin1(kMacroFileFilter);
    FileDialogs& dialogs = m_host.fileDialogs();
    QWidget* window = m_host.mainWindow();
    auto* list = m_controls->find<ui::ListBox>(C::MacroList);
    const bool single =
        command == MacroCommand::ImportMacro || command == MacroCommand::ExportMacro;
    switch (command) {
    case MacroCommand::ImportMacro:
    case MacroCommand::ImportAll: {
        const QString path = dialogs.openFileName(window, text(single ? 26 : 410), filter);
        if (path.isEmpty())
            return;
        const exchange::MacroImportOptions options{m_host.currentDeviceType()};
        const exchange::MacroImportResult result =
            single ? exchange::importMacroFile(db(), path, options)
                   : exchange::importAllMacrosFile(db(), path, options);
        for (const exchange::ImportedMacro& macro : result.macros)
            addListedMacro(macro.id, macro.name);
        syncMacroMenu();
        return;
    }
    case MacroCommand::ExportMacro:
    case MacroCommand::ExportAll: {
        const int id = selectedMacro();
        if (id <= 0)
            return;
        const QString shown = list->itemText(list->currentIndex());
        const QString suggested = (single ? shown : text(411)) + QStringLiteral(".xml");
        const QString path =
            dialogs.saveFileName(window, text(single ? 27 : 411), suggested, filter);
        if (path.isEmpty())
            return;
        if (single)
            exchange::exportMacro(db(), id, path, shown);
        else
            exchange::exportAllMacros(db(), path);
        return;
    }
    default:
        return;
    }
}

// --- play and delay settings ------------------------------------------------------------

void MacroPage::delayChosen(int local) {
    auto* field = m_controls->find<ui::NumberField>(C::DelayField);
    const bool fixed = local == C::FixedDelay;
    if (fixed)
        field->setText(QStringLiteral("10"));
    field->setEnabled(fixed);
    saveMacroSettings();
}

void MacroPage::playChosen(int local) {
    auto* field = m_controls->find<ui::NumberField>(C::CountField);
    const bool counted = local == C::PlayCount;
    if (counted)
        field->setText(QStringLiteral("1"));
    field->setEnabled(counted);
    saveMacroSettings();
}

void MacroPage::saveMacroSettings() {
    const int id = selectedMacro();
    store::MacroDefinition macro;
    if (id <= 0 || !db().getMacro(id, macro))
        return;
    auto* delay = m_controls->find<ui::NumberField>(C::DelayField);
    auto* count = m_controls->find<ui::NumberField>(C::CountField);
    for (const Choice& choice : kDelayChoices) {
        if (m_controls->find<ui::RadioButton>(choice.control)->isChecked())
            macro.delayType = choice.stored;
    }
    for (const Choice& choice : kPlayChoices) {
        if (m_controls->find<ui::RadioButton>(choice.control)->isChecked())
            macro.playType = choice.stored;
    }
    macro.delayTime = 0;
    if (macro.delayType == kFixedDelayType) {
        if (delay->text().isEmpty())
            delay->setText(QStringLiteral("10"));
        delay->clampToRange();
        macro.delayTime = delay->value();
    }
    macro.playTimes = 1;
    if (macro.playType == kCountedPlayType) {
        if (count->text().isEmpty())
            count->setText(QStringLiteral("1"));
        count->clampToRange();
        macro.playTimes = count->value();
    }
    if (db().updateMacro(id, macro))
        sendToBoundKeys(id);
}

// --- steps --------------------------------------------------------------------------------

void MacroPage::showSteps(int select) {
    auto* list = m_controls->find<ui::ListBox>(C::EventList);
    list->clear();
    for (int i = 0; i < m_list.size(); ++i)
        list->addItem(QStringLiteral("%1\t%2").arg(i + 1).arg(m_list.at(i).desc), i);
    list->setCurrentIndex(select);
}

int MacroPage::selectedStep() const {
    const int index = m_controls->find<ui::ListBox>(C::EventList)->currentIndex();
    return index >= 0 && index < m_list.size() ? index : -1;
}

void MacroPage::showEntryEditor(int index) {
    ui::Control* panel = m_controls->control(C::EditPanel);
    if (index < 0 || index >= m_list.size()) {
        if (m_keyFieldCapturing)
            m_host.keyCapture().stopCapture();
        m_keyFieldCapturing = false;
        m_editorType = 0;
        panel->hide();
        return;
    }
    const MacroEntry& entry = m_list.at(index);
    int kind = StepKind::Delay;
    int label = DelayType;
    if (isKeyStep(entry.type)) {
        kind = StepKind::Key;
        label = KeyType;
    } else if (isButtonStep(entry.type)) {
        kind = StepKind::Button;
        label = ButtonType;
    }
    auto* type = m_controls->find<ui::ComboBox>(C::TypeSelector);
    type->clear();
    type->addItem(text(label), kind);
    type->setCurrentIndex(0);
    arrangeEditor(kind);
    auto* value = m_controls->find<ui::TextField>(C::ValueField);
    if (kind == StepKind::Delay) {
        value->setText(QString::number(entry.value));
    } else if (kind == StepKind::Key) {
        value->setText(keyNameOf(entry));
    } else if (const MacroButton* button = macroButtonByBit(entry.value)) {
        m_controls->find<ui::ComboBox>(C::ButtonSelector)->selectData(button->itemData);
    }
    panel->show();
}

void MacroPage::arrangeEditor(int kind) {
    m_editorType = kind;
    auto* value = m_controls->find<ui::TextField>(C::ValueField);
    value->setText({});
    value->setVisible(kind != StepKind::Button);
    m_controls->control(C::ButtonSelector)->setVisible(kind == StepKind::Button);
    // A key is captured, not typed; a delay is typed.
    value->setReadOnly(kind == StepKind::Key);
    value->setMaxLength(kind == StepKind::Key ? kKeyFieldCharacters : kDelayFieldCharacters);
    value->setToolTip(kind == StepKind::Key ? text(KeyTip) : QString());
    if (kind == StepKind::Delay)
        value->setText(QStringLiteral("10"));
}

void MacroPage::valueFieldFocus(bool gained) {
    const int at = selectedStep();
    auto* value = m_controls->find<ui::TextField>(C::ValueField);
    KeyCapture& capture = m_host.keyCapture();
    if (m_editorType == StepKind::Key) {
        if (gained) {
            capture.clearLastKey();
            value->setText({});
            capture.startCapture(CaptureMode::MacroKeyField);
            m_keyFieldCapturing = true;
            return;
        }
        if (!m_keyFieldCapturing)
            return;
        m_keyFieldCapturing = false;
        capture.stopCapture();
        if (at < 0)
            return;
        if (capture.lastVirtualKey() > 0 && !capture.lastKeyName().isEmpty() &&
            m_list.changeKey(at, capture.lastVirtualKey(), capture.lastKeyName()) > 0) {
            showSteps(at);
            saveEvents();
        }
        value->setText(keyNameOf(m_list.at(at)));
        return;
    }
    if (m_editorType != StepKind::Delay || gained || at < 0 ||
        m_list.at(at).type != int(MacroEventType::Delay))
        return;
    const int ms = std::clamp(ui::leadingNumber(value->text()), 1, kMaxDelayMs);
    if (value->text() != QString::number(ms))
        value->setText(QString::number(ms));
    m_list.setEntry(at, delayEntry(ms, m_list.at(at).timestamp));
    showSteps(at);
    saveEvents();
}

void MacroPage::buttonChosen(int itemData) {
    const int at = selectedStep();
    const MacroButton* button = macroButtonByItem(itemData);
    if (at < 0 || !button || m_list.changeButton(at, button->bit) == 0)
        return;
    showSteps(at);
    saveEvents();
}

void MacroPage::openInsertMenu() {
    ui::PopupMenu menu;
    for (const auto& [label, command] : kInsertItems)
        menu.addItem(text(label), command);
    QWidget* button = m_controls->control(C::Insert);
    const int height = 30 * int(std::size(kInsertItems));
    menu.popup(&m_controls->window(), button->mapToGlobal(QPoint(0, -height)),
               MacroMessage::InsertMenu);
}

void MacroPage::insertSteps(int command) {
    if (selectedMacro() <= 0) {
        refuse(StartRecording, SelectMacroText);
        return;
    }
    if (m_list.size() >= kMaxEntries) {
        refuse(InsertTitle, LimitText);
        return;
    }
    const int selected = selectedStep();
    int at = selected < 0 ? m_list.size() : selected + 1;
    std::vector<MacroEntry> added;
    if (command == MacroCommand::InsertKey) {
        const int macro = selectedMacro();
        const MacroKeyDlg::Key key = MacroKeyDlg::ask(m_host.mainWindow());
        // The page may have been reloaded while the dialog was open: the press belongs to
        // the steps it was asked for, or nowhere.
        if (key.virtualKey <= 0 || selectedMacro() != macro || selectedStep() != selected)
            return;
        added = MacroEventList::keyPress(key.virtualKey, key.name,
                                         m_list.freshTimestamp(steadyClock()()));
    } else if (command == MacroCommand::InsertDelay) {
        // A delay goes in front of the selected step.
        at = selected < 0 ? m_list.size() : selected;
        added = {delayEntry(kInsertedDelayMs, m_list.freshTimestamp(steadyClock()()))};
    } else {
        const auto* click = std::find_if(std::begin(kClickBits), std::end(kClickBits),
                                         [command](const auto& c) { return c.first == command; });
        if (click == std::end(kClickBits))
            return;
        added = MacroEventList::click(click->second, m_list.freshTimestamp(steadyClock()()));
    }
    // The mouse takes a macro of at most 15 packets; a longer one would never reach it.
    if (!m_list.fitsAfterInsert(at, added)) {
        refuse(InsertTitle, LimitText);
        return;
    }
    m_list.insert(at, added);
    showSteps(at);
    showEntryEditor(at);
    saveEvents();
}

void MacroPage::openReorderMenu(std::optional<QPoint> at) {
    if (selectedStep() < 0)
        return;
    ui::PopupMenu menu;
    for (const auto& [label, command] : kReorderItems)
        menu.addItem(text(label), command);
    QWidget* more = m_controls->control(C::EventMore);
    menu.popup(&m_controls->window(),
               at.value_or(more->mapToGlobal(QPoint(-125, more->height() + 2))),
               MacroMessage::ReorderMenu);
}

void MacroPage::moveStep(int command) {
    const int from = selectedStep();
    if (from < 0)
        return;
    int to = from;
    switch (command) {
    case MacroCommand::ToTop:
        to = 0;
        break;
    case MacroCommand::Up:
        to = from - 1;
        break;
    case MacroCommand::Down:
        to = from + 1;
        break;
    case MacroCommand::ToBottom:
        to = m_list.size() - 1;
        break;
    default:
        return;
    }
    if (to == from || !m_list.move(from, to))
        return;
    showSteps(to);
    showEntryEditor(to);
    saveEvents();
}

void MacroPage::deleteStep() {
    const int at = selectedStep();
    if (at < 0)
        return;
    m_list.remove(at);
    const int next = std::min(at, m_list.size() - 1);
    showSteps(next);
    showEntryEditor(next);
    saveEvents();
}

void MacroPage::clearSteps() {
    m_list.clear();
    showSteps();
    showEntryEditor(-1);
    saveEvents();
}

void MacroPage::saveEvents() {
    const int id = selectedMacro();
    if (id > 0 && saveMacroEvents(db(), id, m_list))
        sendToBoundKeys(id);
}

void MacroPage::sendToBoundKeys(int macroId) {
    // A key of the current profile that plays the macro must get the new version.
    const std::vector<int> keys = keysPlayingMacro(db(), m_host.currentProfile(), macroId);
    if (keys.empty())
        return;
    for (int key : keys)
        m_host.requestMacroDownload(key);
    m_host.queueTask(protocol::DeviceTask::SendButtons);
    m_host.showSaveWait();
}

// --- recording ----------------------------------------------------------------------------

void MacroPage::toggleRecording() {
    if (isRecording())
        stopRecording();
    else
        startRecording();
}

void MacroPage::startRecording() {
    const int id = selectedMacro();
    if (id <= 0) {
        refuse(StartRecording, SelectMacroText);
        return;
    }
    KeyCapture& capture = m_host.keyCapture();
    capture.stopCapture();
    m_keyFieldCapturing = false;
    DelayMode mode = DelayMode::RecordedDelay;
    int fixed = 0;
    if (m_controls->find<ui::RadioButton>(C::NoDelay)->isChecked()) {
        mode = DelayMode::NoDelay;
    } else if (m_controls->find<ui::RadioButton>(C::FixedDelay)->isChecked()) {
        mode = DelayMode::FixedDelay;
        auto* delay = m_controls->find<ui::NumberField>(C::DelayField);
        if (delay->text().isEmpty())
            delay->setText(QStringLiteral("10"));
        fixed = delay->value();
    }
    m_recordingMacro = id;
    showEntryEditor(-1);
    m_recorder.start(m_list, mode, fixed);
    setRecordingLook(true);
    // The desktop's shortcuts are recorded rather than fired; losing the keyboard to
    // another program ends the recording with what it has.
    m_grab->hold(
        m_host.mainWindow(), [this] { stopRecording(); }, kIdleRecordingLimitMs);
    capture.startCapture(CaptureMode::MacroRecording);
}

void MacroPage::setClock(const MonotonicClock& clock) {
    m_recorder = MacroRecorder(clock);
    m_grab->setClock(clock);
}

void MacroPage::checkRecordingIdle() {
    m_grab->checkIdle();
}

void MacroPage::recordEvent(const InputEvent& event) {
    if (!isRecording())
        return;
    m_grab->noteActivity();
    const MacroRecorder::Outcome outcome = m_recorder.record(event);
    if (outcome == MacroRecorder::Outcome::Ignored)
        return;
    showSteps();
    if (outcome != MacroRecorder::Outcome::LimitReached)
        return;
    // The recorder stopped itself with the closing delay: store and tell.
    stopRecording();
    refuse(StepsTitle, LimitText);
}

void MacroPage::stopRecording() {
    if (m_recordingMacro == 0)
        return;
    m_recorder.stop();
    if (m_host.keyCapture().captureMode() == CaptureMode::MacroRecording)
        m_host.keyCapture().stopCapture();
    m_grab->release();
    const int id = std::exchange(m_recordingMacro, 0);
    setRecordingLook(false);
    showSteps();
    if (saveMacroEvents(db(), id, m_list))
        sendToBoundKeys(id);
}

void MacroPage::setRecordingLook(bool recording) {
    auto* record = m_controls->find<ui::PushButton>(C::Record);
    const QString label = text(recording ? StopRecording : StartRecording);
    record->setText((recording ? QStringLiteral("\u25A0  ") : QStringLiteral("\u25CF  ")) + label);
    record->setAccessibleText(label);
    for (int id : kLockedWhileRecording)
        m_controls->control(id)->setEnabled(!recording);
    if (!recording) {
        m_controls->control(C::DelayField)
            ->setEnabled(m_controls->find<ui::RadioButton>(C::FixedDelay)->isChecked());
        m_controls->control(C::CountField)
            ->setEnabled(m_controls->find<ui::RadioButton>(C::PlayCount)->isChecked());
    }
    m_host.setNavigationEnabled(!recording);
}

void MacroPage::closePopups() {
    stopRecording();
    if (m_keyFieldCapturing && m_host.keyCapture().captureMode() == CaptureMode::MacroKeyField)
        m_host.keyCapture().stopCapture();
    m_keyFieldCapturing = false;
}

// --- notifications ------------------------------------------------------------------------

int MacroPage::onMessage(int local, int code, int p1, int p2) {
    if (local == C::ValueField &&
        (code == ui::Notify::FocusGained || code == ui::Notify::FocusLost)) {
        valueFieldFocus(code == ui::Notify::FocusGained);
        return 0;
    }
    if (code == ui::Notify::FocusLost) {
        if (local == C::DelayField || local == C::CountField) {
            auto* field = m_controls->find<ui::NumberField>(local);
            if (field->clampToRange())
                field->setToolTip(field->text());
            saveMacroSettings();
        }
        return 0;
    }
    if (code == ui::Notify::EditEnded && local == C::MacroList) {
        commitMacroRename(p1);
        return 0;
    }
    if (code != ui::Notify::Click)
        return 0;
    // While recording only the record button works (the rest is disabled as well).
    if (isRecording() && local != C::Record)
        return 0;
    switch (local) {
    case C::MacroList:
        showMacro(p2);
        break;
    case C::MacroMore:
        openMacroMenu();
        break;
    case C::NewMacro:
        newMacro();
        break;
    case C::DeleteMacro:
        removeMacro();
        break;
    case C::EventList:
        showEntryEditor(p1);
        break;
    case C::EventMore:
        openReorderMenu();
        break;
    case C::Insert:
        openInsertMenu();
        break;
    case C::DeleteEntry:
        deleteStep();
        break;
    case C::ClearAll:
        clearSteps();
        break;
    case C::Record:
        toggleRecording();
        break;
    case C::NoDelay:
    case C::RecordedDelay:
    case C::FixedDelay:
        delayChosen(local);
        break;
    case C::PlayWhileHeld:
    case C::PlayToggle:
    case C::PlayCount:
        playChosen(local);
        break;
    case C::TypeSelector:
        arrangeEditor(p2);
        break;
    case C::ButtonSelector:
        buttonChosen(p2);
        break;
    case C::MoveUp:
        moveStep(MacroCommand::Up);
        break;
    case C::MoveDown:
        moveStep(MacroCommand::Down);
        break;
    default:
        break;
    }
    return 0;
}

bool MacroPage::onWindowMessage(int message, int wParam, int /*lParam*/) {
    switch (message) {
    case MacroMessage::MacroMenu:
        if (!isRecording())
            macroFileCommand(wParam);
        return true;
    case MacroMessage::InsertMenu:
        if (!isRecording())
            insertSteps(wParam);
        return true;
    case MacroMessage::ReorderMenu:
        if (!isRecording())
            moveStep(wParam);
        return true;
    default:
        return false;
    }
}

} // namespace corvane::pages
