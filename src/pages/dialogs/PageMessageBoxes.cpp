#include "pages/dialogs/PageMessageBoxes.h"

#include "pages/dialogs/MessageBox.h"

namespace corvane::pages {

int PageMessageBoxes::showMessage(const QString& text, QWidget* parent, const QString& title,
                                  int style) {
    return corvane::pages::showMessage(text, parent, title, style);
}

bool PageMessageBoxes::showSaveWait(QWidget* mainWindow, bool showSaveTips) {
    return m_saveWait.show(mainWindow, showSaveTips);
}

void PageMessageBoxes::hideSaveWait() {
    m_saveWait.hide();
}

} // namespace corvane::pages
