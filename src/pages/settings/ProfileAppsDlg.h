#pragma once
// The applications a profile is for ("Use for applications…" in the profile list): the
// list of them, a name typed or picked from the applications focused lately, the one in
// use before Corvane's window, removal, and making the profile the default for every
// other application. Each change is stored at once through the rule edits corvanectl and
// the session-bus service use, so the profile follows the focus by it straight away.

#include "ui/base/Dialog.h"

#include <QStringList>

namespace corvane::pages {

// The window title (the main window closes pop-ups by it).
inline constexpr const char* kProfileAppsDlgTitle = "ProfileAppsDlg";

// What the window tells the dialog.
struct ProfileAppsChoices {
    int profile = 0;
    QString profileName; // as the profile button shows it
    // The application that had the focus before Corvane's window: the name a rule for it
    // takes (its app id or window class); empty when none was seen.
    QString lastApp;
    // The applications that held the focus this session, most recent first.
    QStringList recentApps;
};

class ProfileAppsDlg final : public ui::Dialog {
public:
    static constexpr int kWidth = 480;
    static constexpr int kHeight = 480;
    enum Control {
        Heading = 1,
        AppList = 2,
        RemoveButton = 3,
        DefaultButton = 4,
        DefaultNote = 5,
        AddLastButton = 6,
        RecentList = 7,
        NameField = 8,
        AddButton = 9,
        CloseButton = 10,
    };

    explicit ProfileAppsDlg(ProfileAppsChoices choices);

    // Runs the dialog modally, centred over owner's window.
    static void ask(QWidget* owner, const ProfileAppsChoices& choices);

protected:
    void InitUI(const QRect& client) override;
    int OnMessage(int controlId, int code, int param1, int param2) override;

private:
    void applyTexts();
    // The list and the default from the store (the truth, whatever an edit did).
    void refresh();
    void addApp(const QString& app);
    void removeCurrent();
    void makeDefault();

    ProfileAppsChoices m_choices;
};

} // namespace corvane::pages
