#pragma once
// The keyboard held by one window while a macro is recorded: the desktop's shortcuts
// (close window, switch window, lock screen) reach the program and are recorded instead
// of firing. The mouse stays free, so the record button can still be clicked. When the
// window loses the keyboard anyway (another program takes it, the window is deactivated,
// the program is no longer the active one) the owner is told once, and the grab ends.
// A grab nobody types into ends the same way after an idle limit: a forgotten recording
// must not keep the desktop from locking the screen.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace corvane::pages {

class KeyboardGrab : public QObject {
public:
    KeyboardGrab() = default;
    ~KeyboardGrab() override;
    KeyboardGrab(const KeyboardGrab&) = delete;
    KeyboardGrab& operator=(const KeyboardGrab&) = delete;

    // Takes the keyboard for `window`'s top-level window; `lost` runs (once, on the UI
    // thread) when the window loses it before release(), or when `idleLimitMs` pass
    // without noteActivity(). A grab already held is released first.
    void hold(QWidget* window, std::function<void()> lost, int idleLimitMs);
    // A key was taken: the idle limit starts again.
    void noteActivity();
    // Gives the keyboard back; `lost` no longer runs.
    void release();
    bool isHeld() const { return !m_window.isNull(); }

    // Milliseconds of a steady clock. The idle limit is decided by this clock; the timer
    // only wakes the grab to look at it, so a test can turn the clock by hand.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);
    // Ends the grab (telling the owner) when the idle limit has passed by the clock;
    // otherwise sets the timer for the rest. What the timer runs.
    void checkIdle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loseGrab();
    qint64 now() const;

    QPointer<QWidget> m_window;
    std::function<void()> m_lost;
    QMetaObject::Connection m_stateWatch;
    QTimer m_idle;
    Clock m_clock;
    qint64 m_lastActivity = 0;
    int m_idleLimitMs = 0;
};

} // namespace corvane::pages
