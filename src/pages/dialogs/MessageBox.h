#pragma once
// pages/dialogs: shared pop-ups: message box, saving wait, colour picker, progress window.
// The message box: a modal notice or question with one or two buttons, in the look of
// the widget layer, over the window that asks.

#include "ui/base/Dialog.h"

#include <QString>

namespace corvane::pages {

// Which buttons a box has; any other value gives a box without buttons.
enum MessageStyle : int {
    MessageOneButton = 0,  // one button (text 20), answering 1
    MessageTwoButtons = 4, // two buttons (texts 23 and 25), answering 1 and 2
};

// The window title every message box carries; the main window closes open boxes by it.
inline constexpr const char* kMessageBoxTitle = "MessageBox";

class CUIMessageBox : public ui::Dialog {
public:
    // Control ids inside the box.
    static constexpr int kTitleId = 1;
    static constexpr int kTextId = 2;
    static constexpr int kFirstButtonId = 3;
    static constexpr int kSecondButtonId = 4;
    static constexpr int kWidth = 430;
    static constexpr int kHeight = 230;

    CUIMessageBox(const QString& title, const QString& text, int style);

    // Creates the box centred over parent's window and runs it modally (blocking input to
    // that window) until a button, Escape or a Close message from outside ends it. Returns
    // the answer: 1 for the first button, 2 for the second; closed any other way it
    // answers 2, or the result carried by the Close message.
    int exec(QWidget* parent);

    int style() const { return m_style; }

protected:
    void InitUI(const QRect& client) override;
    void UISize(const QRect& client) override;
    int OnMessage(int controlId, int code, int param1, int param2) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_title;
    QString m_text;
    int m_style;
};

// Shows a box with the texts (already looked up in the current language) modally over
// parent (may be null) and returns its answer; the box is gone when this returns. Without
// a QApplication nothing is shown and the answer is 2.
int showMessage(const QString& text, QWidget* parent, const QString& title,
                int style = MessageOneButton);

} // namespace corvane::pages
