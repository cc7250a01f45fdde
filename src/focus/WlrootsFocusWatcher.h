#pragma once

#include "focus/FocusWatcher.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <vector>

struct wl_display;
struct wl_registry;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
class QSocketNotifier;

namespace corvane::focus {

// wlroots compositors (river, Wayfire, labwc, sway, ...): their list of open windows
// (zwlr_foreign_toplevel_manager_v1). Each window's handle tells its app id, title and
// states; at its done, the window whose states hold "activated" is the focused one.
// The list names no process, so a rule can match the app id only (no executable name);
// the one window known by its app id alone is Corvane's own (ownAppId), reported with
// this process's pid so that the follower leaves it alone.
class WlrootsFocusWatcher : public FocusWatcher {
    Q_OBJECT
public:
    // display: as in $WAYLAND_DISPLAY (a socket name in $XDG_RUNTIME_DIR, or a path);
    // empty for $WAYLAND_DISPLAY itself.
    explicit WlrootsFocusWatcher(QByteArray display = {}, QString ownAppId = {},
                                 QObject* parent = nullptr);
    ~WlrootsFocusWatcher() override;

    // Connects and binds the window list; false (nothing left open) when the compositor
    // cannot be reached, does not answer, or has no such list.
    bool start() override;
    QString name() const override { return QStringLiteral("wlroots"); }

    struct Toplevel; // one open window, as its handle's events told it

private:
    friend struct WlrootsListeners;

    bool roundtrip(int timeoutMs);
    void readEvents();
    void flush();
    void afterDispatch();
    void endConnection();
    void close();

    // Handle events, called from the listeners.
    void addToplevel(zwlr_foreign_toplevel_handle_v1* handle);
    void toplevelDone(Toplevel& toplevel);
    void toplevelClosed(Toplevel& toplevel);
    FocusedApp appOf(const Toplevel& toplevel) const;

    QByteArray m_displayName;
    QString m_ownAppId;
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    zwlr_foreign_toplevel_manager_v1* m_manager = nullptr;
    std::uint32_t m_managerName = 0;
    std::uint32_t m_managerVersion = 0;
    std::vector<std::unique_ptr<Toplevel>> m_toplevels;
    const Toplevel* m_active = nullptr;
    QString m_activeAppId;
    std::vector<FocusedApp> m_reports; // told at done, emitted once libwayland returns
    bool m_ended = false;              // the manager finished, or its global went away
    QSocketNotifier* m_reader = nullptr;
    QSocketNotifier* m_writer = nullptr;
};

} // namespace corvane::focus
