#pragma once
// The setup progress window: a line "<Downloading>: <n>%" and a bar while the new setup
// downloads. The main window cannot be used while it is open. It has no button of its
// own while the download runs; after a failure it says so and can be closed (its close
// button, Escape or the desktop's close).

#include "pages/dialogs/ProgressWindow.h"

namespace corvane::pages {

// The window title of the setup progress window.
inline constexpr const char* kUpdateProcessTitle = "UpdateProcessDlg";

class UpdateProcessDlg : public ProgressWindow {
public:
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 100;
    // Control ids.
    static constexpr int kLineId = 31;
    static constexpr int kProgressId = 32;
    static constexpr int kCloseId = 33;

    UpdateProcessDlg();

    // Creates the window centred over mainWindow's window, shows it at 0 % and blocks
    // input to the main window while it is open.
    bool openOver(QWidget* mainWindow);

    // The bar and the line at `percent` (kept within 0..100).
    void setProgress(int percent);
    // The download failed: the failure line, and the window can be closed.
    void showFailure();
    void applyTexts() override;

protected:
    void InitUI(const QRect& client) override;
    void UISize(const QRect& client) override;
};

} // namespace corvane::pages
