#pragma once
// The message box and the saving wait window as the main window uses them. The page
// layer provides the real windows; PlainMessageBoxes stands in until then.

#include <QString>

class QWidget;

namespace corvane::app {

namespace MessageStyle {
inline constexpr int OneButton = 0;  // result 1
inline constexpr int TwoButtons = 4; // 1 for the first button, 2 for the second or a close
} // namespace MessageStyle

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a box modal over `parent` and returns the button's result once it closed.
    virtual int showMessage(const QString& text, QWidget* parent, const QString& title,
                            int style) = 0;
    // Shows the saving wait window over `parent` for two seconds (again from now when
    // it is shown already).
    virtual void startSaveWait(QWidget* parent) = 0;
    virtual void hideSaveWait() = 0;
};

} // namespace corvane::app
