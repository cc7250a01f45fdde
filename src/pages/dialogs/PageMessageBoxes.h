#pragma once

#include "pages/dialogs/SaveWaitDlg.h"
#include "pages/host/MessageBoxes.h"

namespace corvane::pages {

// The program's message boxes and saving wait window: the page layer's windows.
class PageMessageBoxes : public MessageBoxes {
public:
    int showMessage(const QString& text, QWidget* parent, const QString& title, int style) override;
    bool showSaveWait(QWidget* mainWindow, bool showSaveTips) override;
    void hideSaveWait() override;

    // The saving wait window, null until it was first shown.
    const SaveWaitDlg* saveWaitWindow() const { return m_saveWait.window(); }

private:
    SaveWait m_saveWait;
};

} // namespace corvane::pages
