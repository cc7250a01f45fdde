#pragma once
// The firmware progress window: the title, a status line "<step>: <n>%" and a bar while
// the new firmware is downloaded and written into the mouse. The worker's end of the
// upgrade closes it after a success; after a failure it keeps the failure line and can
// be closed (its close button, Escape or the desktop's close).

#include "pages/dialogs/ProgressWindow.h"

namespace corvane::pages {

// The window title of the firmware progress window.
inline constexpr const char* kUpdateTipTitle = "UpdateTipDlg";

class UpdateTipDlg : public ProgressWindow {
public:
    static constexpr int kWidth = 391;
    static constexpr int kHeight = 130;
    // Control ids.
    static constexpr int kTitleId = 1;
    static constexpr int kLineId = 2;
    static constexpr int kProgressId = 3;
    static constexpr int kCloseId = 4;

    UpdateTipDlg();

    // Creates the window centred over mainWindow's window and shows it.
    bool openOver(QWidget* mainWindow);

    // The status line "<text>: <percent>%" and the bar (percent kept within 0..100).
    void setProgress(int textId, int percent);
    int textId() const { return m_textId; }
    // The upgrade failed: the window can be closed now.
    void showFailure();
    void applyTexts() override;

protected:
    void InitUI(const QRect& client) override;
    void UISize(const QRect& client) override;

private:
    int m_textId = 0;
};

} // namespace corvane::pages
