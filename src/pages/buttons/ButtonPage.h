#pragma once
// pages/buttons: the button page and the function names its menus offer.
// The button page: which function each key of the mouse has. A key list and the window's
// mouse picture kept on one selection, one menu per group of functions, the keyboard and
// repeat sub-panels, disable, and restoring one key or all of them. Every change is stored
// as a binding of the current profile at once; then the key table goes to the mouse
// (DeviceTask 6) and the saving wait window shows.

#include "pages/buttons/BindingCatalog.h"
#include "pages/host/MacroBindings.h"
#include "pages/host/Page.h"

#include <QString>

namespace corvane::store {
struct ButtonBinding;
}

namespace corvane::ui {
class ComboBox;
class KeyList;
class MousePicture;
class NumberField;
class Panel;
class PushButton;
class StaticText;
class TextField;
} // namespace corvane::ui

namespace corvane::pages {

class PageHost;

// The page's own control numbers.
namespace ButtonControl {
constexpr int Caption = 1;
constexpr int SubCaption = 2;
constexpr int RestoreAll = 3;
constexpr int KeyList = 10;
constexpr int KeyName = 12;
constexpr int RestoreKey = 13;
constexpr int FunctionArea = 20;
// Menus, their captions (+10) and selection marks (+20), in the catalogue's menu order.
constexpr int MouseMenu = 31;
constexpr int MediaMenu = 32;
constexpr int MacroMenu = 33;
constexpr int SystemMenu = 34;
constexpr int DpiMenu = 35;
constexpr int DeviceMenu = 36;
constexpr int KeyboardChoice = 37; // opens the keyboard sub-panel
constexpr int RepeatChoice = 38;   // opens the repeat sub-panel
constexpr int DisableChoice = 39;  // toggle
constexpr int CaptionOffset = 10;
constexpr int MarkOffset = 20;
constexpr int KeyboardPanel = 60;
constexpr int KeyboardTitle = 61;
constexpr int CaptureField = 62;
constexpr int CtrlToggle = 63;
constexpr int WinToggle = 64;
constexpr int AltToggle = 65;
constexpr int ShiftToggle = 66;
constexpr int KeyboardConfirm = 67;
constexpr int KeyboardClose = 68;
constexpr int RepeatPanel = 70;
constexpr int RepeatTitle = 71;
constexpr int RepeatFirstLabel = 72;
constexpr int RepeatFirstField = 73; // macro_value2, 0..255
constexpr int RepeatSecondLabel = 74;
constexpr int RepeatSecondField = 75; // macro_value, 5..255
constexpr int RepeatNote = 76;
constexpr int RepeatConfirm = 77;
constexpr int RepeatClose = 78;
} // namespace ButtonControl

class ButtonPage : public Page, public MacroBindings {
public:
    explicit ButtonPage(PageHost& host);
    ~ButtonPage() override;

    void createControls(PageControls& controls) override;
    void layout(const QRect& area, double uiScale) override;
    int onMessage(int local, int code, int p1, int p2) override;
    void reload() override { loadPage(); }
    void applyTexts() override;
    void showDeviceDetails(const catalog::DeviceDetails& details) override;
    void closePopups() override;
    void mouseKeyClicked(int index) override;

    ui::ComboBox* macroMenu() const override;
    void macrosListed() override;
    void showKeyDescription(int keyCode, const QString& text) override;

    void loadPage();
    int selectedKey() const { return m_selectedKey; }

private:
    // Gives the choices' captions the width the longest of them needs in the language
    // now in use; the menus and buttons take the rest of the function area.
    // ownPass: outside the window's layout pass (a language change), so it scales itself.
    void placeChoiceColumn(bool ownPass);
    void selectFromList(int index);
    void showKeyFunction();
    void assignFromMenu(FunctionMenu menu);
    void openKeyboardPanel();
    void commitKeyboardKey();
    void openRepeatPanel();
    void commitRepeatFunction();
    void disableKey();
    void restoreKey();
    void restoreAllKeys();

    bool refusePrimaryKey();
    void hideSubPanels();
    void showRepeatPanel(bool shown);
    // Hides a sub-panel; the focus, when it was inside, goes to the button that opens it.
    void closeSubPanel(int panel, int opener);
    void markChoice(FunctionMenu menu);
    // Stores the binding for the selected key, shows its text, queues task 6.
    void commit(const store::ButtonBinding& binding);
    void queueButtons();
    QString defaultDescription(int keyCode) const;
    void fillMenus();
    void fillFixedKeys();
    // The device's keys with their default descriptions, in the current language.
    void listDeviceKeys();
    // Each listed key's stored function in the current profile (its default where none).
    void showBindingDescriptions();
    // Selects m_selectedKey in the list and on the picture and shows its name; the first
    // key when the list does not hold it.
    void showSelectedKey();
    void captureKeyEvent();

    ui::MousePicture* mousePicture() const;

    PageHost& m_host;
    PageControls* m_controls = nullptr;
    int m_selectedKey = 0;
    bool m_primaryKeyLocked = true;
    // Keys of the current device: (key code, default description TextId), list order.
    std::vector<std::pair<int, int>> m_defaults;
    std::vector<catalog::KeyEntry> m_keys;
    bool m_captureFieldUsed = false; // the capture field had the focus since it opened
};

} // namespace corvane::pages
