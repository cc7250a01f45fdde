#pragma once

#include "focus/AppRules.h"
#include "focus/FocusDebounce.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace corvane::focus {

// Switches the mouse to the profile the focused application's rule names, and back to
// the default profile for an application without one, once the focus has stayed put for
// stableMs. Without any rule it does nothing, so a profile picked by hand stays. Never while paused
// or while the caller holds switches (a macro recording); never for our own window (the user came
// to change settings) or for nothing focused.
class ProfileFollower : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<AppRules()> rules;
        std::function<int()> currentProfile;
        std::function<void(int profile)> switchTo;
        std::function<bool()> holding;                   // may be empty: never held
        std::function<QString(qint64 pid)> executableOf; // may be empty: no fallback
    };

    static constexpr int kStableMs = 300;

    explicit ProfileFollower(Hooks hooks, int stableMs = kStableMs, QObject* parent = nullptr);

    void setPaused(bool paused);
    bool paused() const { return m_paused; }

    // What the watcher last reported, and the last application other than ours.
    FocusedApp focusedNow() const { return m_focused; }
    FocusedApp lastOtherApp() const { return m_lastOther; }
    // The identities a rule can name for app (app id or class, instance, executable).
    QStringList identities(const FocusedApp& app) const;

    // A watcher's report.
    void focusChanged(const corvane::focus::FocusedApp& app);

signals:
    // The focus stayed on app for the stable time (whether or not it switched anything).
    void settled(const corvane::focus::FocusedApp& app);
    // A switch was asked for (after the debounce); for the log and the tests.
    void switched(int profile, const corvane::focus::FocusedApp& app);

private:
    void settle();

    Hooks m_hooks;
    FocusDebounce m_debounce;
    QElapsedTimer m_clock;
    QTimer m_timer;
    FocusedApp m_focused;
    FocusedApp m_lastOther;
    bool m_paused = false;
};

} // namespace corvane::focus
