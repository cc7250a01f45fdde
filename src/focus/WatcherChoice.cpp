#include "focus/WatcherChoice.h"

#include "focus/HyprlandFocusWatcher.h"
#include "focus/KWinScriptLoader.h"
#include "focus/SwayFocusWatcher.h"
#include "focus/X11FocusWatcher.h"

#include <QFileInfo>

namespace corvane::focus {

namespace {
QString hyprlandSocket(const QProcessEnvironment& env) {
    const QString signature = env.value(QStringLiteral("HYPRLAND_INSTANCE_SIGNATURE"));
    if (signature.isEmpty() || signature.contains(u'/'))
        return {};
    const QString runtime = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
    // Newer releases keep the sockets under the runtime folder, older ones under /tmp.
    for (const QString& base : {runtime + QStringLiteral("/hypr/"), QStringLiteral("/tmp/hypr/")}) {
        const QString path = base + signature + QStringLiteral("/.socket2.sock");
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

bool plasmaOnWayland(const QProcessEnvironment& env) {
    const QStringList desktops = env.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(u':');
    return env.value(QStringLiteral("XDG_SESSION_TYPE")) == u"wayland" &&
           desktops.contains(QStringLiteral("KDE"), Qt::CaseInsensitive);
}
} // namespace

std::unique_ptr<FocusWatcher> watcherForSession(const QProcessEnvironment& env,
                                                const QString& kwinScript) {
    for (const char* name : {"SWAYSOCK", "I3SOCK"}) {
        const QString path = env.value(QString::fromLatin1(name));
        if (!path.isEmpty())
            return std::make_unique<SwayFocusWatcher>(path);
    }
    if (const QString path = hyprlandSocket(env); !path.isEmpty())
        return std::make_unique<HyprlandFocusWatcher>(path);
    if (!kwinScript.isEmpty() && plasmaOnWayland(env))
        return std::make_unique<KWinScriptLoader>(kwinScript, QDBusConnection::sessionBus());
    const QString display = env.value(QStringLiteral("DISPLAY"));
    if (!display.isEmpty())
        return std::make_unique<X11FocusWatcher>(display.toLocal8Bit());
    return nullptr;
}

} // namespace corvane::focus
