#pragma once
// The profile list pop-up above the main window's profile button: the four profiles,
// renamed in place, switched by a click, the button of the applications the selected
// profile is for, and the import and export buttons. It tells the main window what to do
// with message 1705 (wParam: 0 switch, 1 import, 2 export, 3 applications; lParam: the
// profile id) and closes.

#include "ui/base/Dialog.h"

namespace corvane::pages {

// The main window's message for the profile window's commands.
inline constexpr int kProfileCommandMessage = 1705;
enum ProfileCommand { ProfileSwitch = 0, ProfileImport = 1, ProfileExport = 2, ProfileApps = 3 };

class ProfileDlg final : public ui::Dialog {
public:
    static constexpr const char* kTitle = "ProfileDlg";
    enum Control { Content = 1, List = 2, ImportButton = 3, ExportButton = 4, AppsButton = 5 };

    // mainWindow receives the commands; currentProfile is selected in the list.
    ProfileDlg(ui::Dialog& mainWindow, int currentProfile);

    // Shows the pop-up at screenRect (screen coordinates) and returns once it closed.
    void run(const QRect& screenRect);

    // Texts again from the language in use (the window's language changed).
    void applyTexts();

    void InitUI(const QRect& client) override;
    void UISize(const QRect& client) override;
    int OnMessage(int controlId, int code, int param1, int param2) override;
    int OnNcActivate(bool active) override;
    int OnWindowMessage(int message, int wParam, int lParam) override;

private:
    static constexpr int kDeactivated = 2100;

    void fillList();
    // Widens the pop-up until every button text fits.
    void fitButtonTexts();
    void renamed(int index, int profile);
    void post(int command, int profile);
    void finish();

    ui::Dialog& m_main;
    int m_current;
    int m_renamedProfile;
    bool m_nameChanged = false;
    bool m_closing = false;
};

} // namespace corvane::pages
