#pragma once

#include "focus/FocusedApp.h"

#include <QObject>

namespace corvane::focus {

// One desktop's way of telling which window has the focus. Event-driven: a watcher reads
// only when the desktop sends something. It lives on the thread that made it (the UI
// thread), whose event loop reads its socket.
class FocusWatcher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~FocusWatcher() override = default;

    // Connects to the desktop; false (with nothing left open) when it cannot be reached.
    virtual bool start() = 0;
    // A short name for the log and for corvanectl ("x11", "sway", "hyprland", ...).
    virtual QString name() const = 0;

signals:
    // The focus moved (also the first window found by start(), where the desktop tells).
    void focused(const corvane::focus::FocusedApp& app);
    // The desktop closed the connection; nothing more will come.
    void lost();
};

} // namespace corvane::focus
