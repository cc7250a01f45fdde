#pragma once
// The key dialog of the macro editor's insert menu: a key field that takes the next key
// pressed while it has the focus (the dialog's own capture, every key accepted), a
// confirm and a close button. The page inserts a press of the captured key.

#include "ui/base/Dialog.h"

#include <memory>

namespace corvane::pages {

class KeyCapture;

// The window title (the main window closes pop-ups by it).
inline constexpr const char* kMacroKeyDlgTitle = "CustomKeyDlg";

class MacroKeyDlg : public ui::Dialog {
public:
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 150;
    // Control ids.
    static constexpr int Close = 1;
    static constexpr int Label = 2;
    static constexpr int KeyField = 3;
    static constexpr int Confirm = 4;

    MacroKeyDlg();
    ~MacroKeyDlg() override;

    // Runs the dialog modally over `owner`'s window. The captured key (virtual key above
    // 0 and its name) when the user pressed one, whichever button closed the dialog;
    // virtual key 0 otherwise.
    struct Key {
        int virtualKey = 0;
        QString name;
    };
    static Key ask(QWidget* owner);

protected:
    void InitUI(const QRect& client) override;
    int OnMessage(int controlId, int code, int param1, int param2) override;

private:
    std::unique_ptr<KeyCapture> m_capture;
    Key m_key;
};

} // namespace corvane::pages
