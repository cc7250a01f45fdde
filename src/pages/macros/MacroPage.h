#pragma once
// pages/macros: the macro page, its step list, recorder, keyboard grab, key dialog and names.
// The macro page: the macros of the device type (shared by every profile), their steps
// and how they play. Macros are created, renamed in place and deleted here; steps are
// recorded from the keyboard or inserted by hand (key presses, clicks, delays), changed,
// moved and deleted; each change is stored at once and, when a key of the current
// profile plays the macro, the macro goes to the mouse again. The list's context menu
// imports and exports macro files.

#include "pages/host/Page.h"
#include "pages/macros/MacroEventList.h"
#include "pages/macros/MacroRecorder.h"

#include <QPoint>

#include <memory>
#include <optional>

namespace corvane::pages {

class MacroBindings;
class KeyboardGrab;
class PageHost;
struct InputEvent;

// The page's own control numbers (PageIds.h turns them into window ids).
namespace MacroControl {
inline constexpr int Caption = 1;
inline constexpr int ListCaption = 2;
inline constexpr int MacroList = 3;
inline constexpr int MacroMore = 4; // the macro list's menu (files)
inline constexpr int NewMacro = 5;
inline constexpr int DeleteMacro = 6;
inline constexpr int EventsCaption = 10;
inline constexpr int ColumnNumber = 11;
inline constexpr int ColumnAction = 12;
inline constexpr int ColumnEdit = 13;
inline constexpr int EventList = 14;
inline constexpr int EventMore = 15; // the reorder menu of the selected step
inline constexpr int Insert = 16;
inline constexpr int DeleteEntry = 17;
inline constexpr int ClearAll = 18;
inline constexpr int Record = 19;
inline constexpr int DelayCaption = 20;
inline constexpr int NoDelay = 21;       // text 361
inline constexpr int RecordedDelay = 22; // text 362
inline constexpr int FixedDelay = 23;    // text 363, with the delay field
inline constexpr int DelayField = 24;
inline constexpr int DelayUnit = 25;
inline constexpr int PlayCaption = 30;
inline constexpr int PlayWhileHeld = 31; // text 365, play_type 1
inline constexpr int PlayToggle = 32;    // text 366, play_type 2
inline constexpr int PlayCount = 33;     // text 367, play_type 0, with the count field
inline constexpr int CountField = 34;
inline constexpr int EditPanel = 40;
inline constexpr int TypeCaption = 41;
inline constexpr int TypeSelector = 42;
inline constexpr int ValueCaption = 43;
inline constexpr int ValueField = 44;
inline constexpr int ButtonSelector = 45;
inline constexpr int MoveUp = 46;
inline constexpr int MoveDown = 47;
} // namespace MacroControl

// The window messages the page's pop-up menus send back, with the command in wParam.
namespace MacroMessage {
inline constexpr int MacroMenu = 1709;
inline constexpr int InsertMenu = 1710;
inline constexpr int ReorderMenu = 1711;
} // namespace MacroMessage

namespace MacroCommand {
// The macro list's menu.
inline constexpr int ImportMacro = 101;
inline constexpr int ExportMacro = 102;
inline constexpr int ImportAll = 105;
inline constexpr int ExportAll = 106;
// The insert menu.
inline constexpr int InsertKey = 101;
inline constexpr int InsertDelay = 103;
inline constexpr int LeftClick = 105;
inline constexpr int MiddleClick = 106;
inline constexpr int RightClick = 107;
// The reorder menu.
inline constexpr int ToTop = 100;
inline constexpr int Up = 101;
inline constexpr int Down = 102;
inline constexpr int ToBottom = 103;
} // namespace MacroCommand

// A macro plays at most this many times: the mouse takes the count in one byte.
inline constexpr int kMaxPlayTimes = 255;

// The file filter of the macro file dialogs.
inline constexpr const char* kMacroFileFilter = "Macro (*.xml)";

class MacroPage : public Page {
public:
    // `buttons`: the button page whose macro menu mirrors the macro list (may be null).
    MacroPage(PageHost& host, MacroBindings* buttons = nullptr);
    ~MacroPage() override;

    void createControls(PageControls& controls) override;
    void layout(const QRect& area, double uiScale) override;
    int onMessage(int local, int code, int p1, int p2) override;
    bool onWindowMessage(int message, int wParam, int lParam) override;
    void reload() override { loadPage(); }
    void applyTexts() override;
    void closePopups() override;
    void macroRecorderUnlinked() override { stopRecording(); }

    void loadPage();
    bool isRecording() const { return m_recorder.isRecording(); }
    bool holdsProfile() const override { return isRecording(); }
    // The macro shown (0 for none) and its steps as shown.
    int selectedMacro() const;
    const MacroEventList& steps() const { return m_list; }
    // The clock recordings take their delays and their idle limit from (tests give their
    // own).
    void setClock(const MonotonicClock& clock);
    // Ends a recording nobody typed into for the idle limit, by the clock above; the
    // limit's timer calls it too.
    void checkRecordingIdle();

private:
    // --- macros ---
    void showMacro(int macroId);
    void newMacro();
    void removeMacro();
    void commitMacroRename(int index);
    void syncMacroMenu();
    // At `at` (screen), or under the list's menu button.
    void openMacroMenu(std::optional<QPoint> at = std::nullopt);
    void macroFileCommand(int command);
    void addListedMacro(int id, const QString& storedName);

    // --- play and delay settings ---
    void delayChosen(int local);
    void playChosen(int local);
    void saveMacroSettings();

    // --- steps ---
    void showSteps(int select = -1);
    int selectedStep() const;
    void showEntryEditor(int index);
    void arrangeEditor(int typeData);
    void valueFieldFocus(bool gained);
    void buttonChosen(int itemData);
    void openInsertMenu();
    void insertSteps(int command);
    void openReorderMenu(std::optional<QPoint> at = std::nullopt);
    void moveStep(int command);
    void deleteStep();
    void clearSteps();
    void saveEvents();
    void sendToBoundKeys(int macroId);

    // --- recording ---
    void toggleRecording();
    void startRecording();
    void stopRecording();
    void recordEvent(const InputEvent& event);
    void setRecordingLook(bool recording);

    QString text(int id) const;
    void refuse(int title, int message);

    PageHost& m_host;
    MacroBindings* m_buttons;
    PageControls* m_controls = nullptr;
    MacroEventList m_list;
    MacroRecorder m_recorder;
    std::unique_ptr<KeyboardGrab> m_grab;
    class ContextMenus;
    std::unique_ptr<ContextMenus> m_contextMenus;
    void watchContextMenus();
    int m_recordingMacro = 0;
    int m_editorType = 0; // the type data the edit panel is arranged for (0: hidden)
    bool m_keyFieldCapturing = false;
    bool m_loaded = false;
};

} // namespace corvane::pages
