#pragma once
// The message box and the saving wait window as the main window uses them. The program
// gives it PageMessageBoxes (the page layer's windows); the window tests give it one that
// records the boxes and answers them without a user.

#include <QString>

class QWidget;

namespace corvane::pages {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a box (style: MessageStyle) modal over `parent` and returns its answer
    // once it closed: 1 for the first button, 2 for the second or any other close.
    virtual int showMessage(const QString& text, QWidget* parent, const QString& title,
                            int style) = 0;
    // After a change was queued for the mouse: shows the saving wait window over
    // `mainWindow` for two seconds (again from now when it is shown already), but only
    // when the current device asks for it (its showSaveTips). True when it was shown.
    virtual bool showSaveWait(QWidget* mainWindow, bool showSaveTips) = 0;
    // Hides the saving wait window at once when it is shown.
    virtual void hideSaveWait() = 0;
};

} // namespace corvane::pages
