#pragma once

#include "focus/FocusWatcher.h"

#include <QProcessEnvironment>

#include <memory>

namespace corvane::focus {

// The watcher for the session in env: sway or i3 by their IPC socket, Hyprland by its
// instance signature, KDE Plasma on Wayland by loading kwinScript into KWin (when given),
// any other Wayland desktop but GNOME by the wlroots window list on $WAYLAND_DISPLAY
// (falling back at start to X11 where the compositor has no such list), X11 by $DISPLAY
// (on GNOME or Plasma without the script, XWayland windows only). Null when nothing fits.
std::unique_ptr<FocusWatcher> watcherForSession(const QProcessEnvironment& env,
                                                const QString& kwinScript = {});

} // namespace corvane::focus
