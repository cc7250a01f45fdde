#pragma once

#include "app/MessageBoxes.h"

#include "ui/Dialog.h"

#include <QPointer>

namespace corvane::app {

// Plain stand-ins for the message box ("MessageBox", one or two buttons with texts 20
// or 23 and 25) and the saving wait window ("SaveWaitDlg", text 630 and a running bar,
// hidden two seconds after the last start), built on ui::Dialog.
class PlainMessageBoxes : public MessageBoxes {
public:
    PlainMessageBoxes();
    ~PlainMessageBoxes() override;

    int showMessage(const QString& text, QWidget* parent, const QString& title, int style) override;
    void startSaveWait(QWidget* parent) override;
    void hideSaveWait() override;

    bool isSaveWaitShown() const;

private:
    // Owned by its parent window when it has one, else by this object.
    QPointer<ui::Dialog> saveWait;
};

} // namespace corvane::app
