#pragma once
// focus: which application has the focus (one watcher per desktop) and the rules to profiles.

#include <QString>

namespace corvane::focus {

// What a watcher learns of the focused window. An empty one means nothing is focused
// (the desktop, or the focused window went away).
struct FocusedApp {
    QString appId;    // the Wayland app id, or the X11 WM_CLASS class
    QString instance; // the X11 WM_CLASS instance; empty on Wayland
    QString title;
    qint64 pid = 0; // 0 when the desktop does not tell

    bool operator==(const FocusedApp&) const = default;
    bool empty() const { return appId.isEmpty() && instance.isEmpty() && pid == 0; }
};

} // namespace corvane::focus
