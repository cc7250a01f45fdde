#pragma once

#include "app/MessageBoxes.h"
#include "pages/SaveWaitDlg.h"

namespace corvane::app {

// The program's message boxes and saving wait window: the page layer's windows.
class PageMessageBoxes : public MessageBoxes {
public:
    int showMessage(const QString& text, QWidget* parent, const QString& title, int style) override;
    bool showSaveWait(QWidget* mainWindow, bool showSaveTips) override;
    void hideSaveWait() override;

    // The saving wait window, null until it was first shown.
    const pages::SaveWaitDlg* saveWaitWindow() const { return m_saveWait.window(); }

private:
    pages::SaveWait m_saveWait;
};

} // namespace corvane::app
