#include "focus/WatcherChoice.h"

#include "focus/FirstWorkingWatcher.h"
#include "focus/HyprlandFocusWatcher.h"
#include "focus/KWinScriptLoader.h"
#include "focus/SwayFocusWatcher.h"
#include "focus/WlrootsFocusWatcher.h"
#include "focus/X11FocusWatcher.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <iterator>

namespace corvane::focus {

namespace {
// Our own window is known by the app id Qt gives it: the desktop file's name (a
// QGuiApplication property, read through QObject).
QString ownAppId() {
    return QCoreApplication::instance()
               ? QCoreApplication::instance()->property("desktopFileName").toString()
               : QString();
}

struct Session {
    const QProcessEnvironment& env;
    const QString& kwinScript;

    QString value(const char* name) const { return env.value(QString::fromLatin1(name)); }
    bool wayland() const { return value("XDG_SESSION_TYPE") == u"wayland"; }
    bool desktopIs(const char* desktop) const {
        return value("XDG_CURRENT_DESKTOP")
            .split(u':')
            .contains(QString::fromLatin1(desktop), Qt::CaseInsensitive);
    }
};

using Choice = std::unique_ptr<FocusWatcher> (*)(const Session&);

std::unique_ptr<FocusWatcher> swayOrI3(const Session& session) {
    for (const char* name : {"SWAYSOCK", "I3SOCK"}) {
        const QString path = session.value(name);
        if (!path.isEmpty())
            return std::make_unique<SwayFocusWatcher>(path);
    }
    return nullptr;
}

std::unique_ptr<FocusWatcher> hyprland(const Session& session) {
    const QString signature = session.value("HYPRLAND_INSTANCE_SIGNATURE");
    if (signature.isEmpty() || signature.contains(u'/'))
        return nullptr;
    // Newer releases keep the sockets under the runtime folder, older ones under /tmp.
    const QString runtime = session.value("XDG_RUNTIME_DIR");
    for (const QString& base : {runtime + QStringLiteral("/hypr/"), QStringLiteral("/tmp/hypr/")}) {
        const QString path = base + signature + QStringLiteral("/.socket2.sock");
        if (QFileInfo::exists(path))
            return std::make_unique<HyprlandFocusWatcher>(path, ownAppId());
    }
    return nullptr;
}

std::unique_ptr<FocusWatcher> plasmaOnWayland(const Session& session) {
    if (session.kwinScript.isEmpty() || !session.wayland() || !session.desktopIs("KDE"))
        return nullptr;
    return std::make_unique<KWinScriptLoader>(session.kwinScript, QDBusConnection::sessionBus());
}

std::unique_ptr<FocusWatcher> x11(const Session& session) {
    const QString display = session.value("DISPLAY");
    if (display.isEmpty())
        return nullptr;
    return std::make_unique<X11FocusWatcher>(display.toLocal8Bit());
}

// Any other Wayland compositor: the wlroots ones list their windows. Plasma and GNOME
// have their own way (and no such list); on them the X11 watcher sees XWayland windows.
std::unique_ptr<FocusWatcher> wlroots(const Session& session) {
    const QString display = session.value("WAYLAND_DISPLAY");
    if (display.isEmpty() || !session.wayland() || session.desktopIs("KDE") ||
        session.desktopIs("GNOME"))
        return nullptr;
    auto windowList = std::make_unique<WlrootsFocusWatcher>(display.toLocal8Bit(), ownAppId());
    // A compositor without the list: XWayland's windows at least.
    auto xwayland = x11(session);
    if (!xwayland)
        return windowList;
    std::vector<std::unique_ptr<FocusWatcher>> candidates;
    candidates.push_back(std::move(windowList));
    candidates.push_back(std::move(xwayland));
    return std::make_unique<FirstWorkingWatcher>(std::move(candidates));
}

// In order of preference: the first that fits the session is taken.
constexpr Choice kChoices[] = {swayOrI3, hyprland, plasmaOnWayland, wlroots, x11};
} // namespace

std::unique_ptr<FocusWatcher> watcherForSession(const QProcessEnvironment& env,
                                                const QString& kwinScript) {
    const Session session{env, kwinScript};
    for (const Choice choice : kChoices) {
        if (auto watcher = choice(session))
            return watcher;
    }
    return nullptr;
}

} // namespace corvane::focus
