#pragma once
// The DPI pop-up: a small window in the lower right corner of the screen's work area that
// shows a new DPI value for two seconds, when the user changes the active stage on the
// performance page or with the mouse's own DPI button. It never takes the focus.

#include "ui/base/Dialog.h"

#include <functional>

namespace corvane::pages {

// The window title of the DPI pop-up.
inline constexpr const char* kDpiPopupTitle = "DPIMsgDlg";

// Where the pop-up goes: 2 pixels inside the lower right corner of the work area. Where
// the program cannot place its windows on the screen (Wayland), inside the lower right
// corner of the main window instead.
QRect dpiPopupRect(const QRect& workArea, const QRect& mainWindow, bool canPlaceWindows);

class DpiMsgDlg : public ui::Dialog {
public:
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 130;
    static constexpr int kHideTimerId = 100;
    static constexpr int kDefaultDurationMs = 2000;
    static constexpr int kBarMaximum = 16000;
    // Control ids.
    static constexpr int kCloseId = 1;
    static constexpr int kValueId = 2;
    static constexpr int kUnitId = 3;
    static constexpr int kBarId = 4;

    explicit DpiMsgDlg(int durationMs = kDefaultDurationMs);

    // Creates the window, hidden, owned by mainWindow's window.
    bool createOver(QWidget* mainWindow);

    // Shows dpi ("%d", and the bar at it) in the corner for the duration; a call while it
    // is shown restarts the duration. Nothing happens before the window was created.
    void showDpi(int dpi);

    // The time source of the display duration, in milliseconds of a steady clock. The hide
    // timer only wakes the window; whether the value has been shown long enough is
    // decided by this clock, so a test can turn it by hand.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);

    // Hides the window when the duration since the last value has passed; true when it
    // did. The hide timer calls it, and arms itself again for what is left when it woke
    // early.
    bool hideWhenDue();

    int durationMs() const { return m_durationMs; }
    QString valueText() const;
    int barPosition() const;

protected:
    void InitUI(const QRect& client) override;
    void UISize(const QRect& client) override;
    int OnMessage(int controlId, int code, int param1, int param2) override;
    void OnTimer(int timerId) override;

private:
    void placeInCorner();

    int m_durationMs;
    Clock m_clock;
    qint64 m_shownAt = 0;
};

} // namespace corvane::pages
