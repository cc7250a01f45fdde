#pragma once
// The program settings page, opened by the caption's settings button: the interface
// language, start with the desktop session and minimised, what the close button does,
// the program's version and update check, restore defaults, and three web links.

#include "pages/host/Page.h"

namespace corvane::pages {

class PageHost;

class ProgramSettingsPage final : public Page {
public:
    // The page's own control numbers.
    enum Control {
        Background = 272,
        BackButton = 273,
        VersionLine = 274,
        VersionStatus = 275,
        UpdateButton = 276,
        RestoreButton = 277,
        LanguageLabel = 278,
        LanguageCombo = 279,
        StartLabel = 280,
        AutorunBox = 281,
        MinimiseBox = 282,
        Separator1 = 283,
        Separator2 = 284,
        CloseLabel = 285,
        HideToTrayRadio = 286,
        ExitRadio = 287,
        ProductLine = 288,
        WebsiteLink = 289,
        FeedbackLink = 290,
        QaLink = 291,
    };

    explicit ProgramSettingsPage(PageHost& host) : m_host(host) {}

    void createControls(PageControls& controls) override;
    void layout(const QRect& area, double uiScale) override;
    int onMessage(int local, int code, int p1, int p2) override;
    void applyTexts() override;
    void showUpdateStatus(const protocol::UpdateStatusView& status) override;

private:
    void fillLanguageChoice();
    void readStoredChoices();
    void autorunBox(bool on);
    void openLink(int local);

    PageHost& m_host;
    PageControls* m_controls = nullptr;
    bool m_versionChecked = false;
    protocol::UpdateStatusView m_version;
};

} // namespace corvane::pages
