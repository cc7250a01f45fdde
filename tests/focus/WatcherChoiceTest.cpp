// Which watcher a session gets, from its environment alone (nothing is started).
#include "focus/WatcherChoice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace corvane::focus {
namespace {

TEST(WatcherChoice, EachSessionGetsItsDesktopsOwnWatcher) {
    // A Hyprland instance's event socket, as the compositor leaves it in the runtime folder.
    QTemporaryDir runtime;
    ASSERT_TRUE(QDir(runtime.path()).mkpath(QStringLiteral("hypr/abc123")));
    QFile socket(runtime.filePath(QStringLiteral("hypr/abc123/.socket2.sock")));
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    using Env = std::vector<std::pair<const char*, QString>>;
    const QString wayland = QStringLiteral("wayland");
    const QString display = QStringLiteral("wayland-1");
    const QString x = QStringLiteral(":0");
    struct Case {
        const char* session;
        Env env;
        const char* kwinScript;
        const char* watcher; // "" for none
    };
    const Case cases[] = {
        {"nothing to watch", {}, "", ""},
        {"plain X11", {{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", x}}, "", "x11"},
        {"sway",
         {{"XDG_SESSION_TYPE", wayland}, {"WAYLAND_DISPLAY", display}, {"SWAYSOCK", "/run/s.sock"}},
         "",
         "sway"},
        {"i3 on X11", {{"DISPLAY", x}, {"I3SOCK", "/run/i3.sock"}}, "", "sway"},
        {"Hyprland",
         {{"XDG_SESSION_TYPE", wayland},
          {"WAYLAND_DISPLAY", display},
          {"XDG_CURRENT_DESKTOP", "Hyprland"},
          {"HYPRLAND_INSTANCE_SIGNATURE", "abc123"},
          {"XDG_RUNTIME_DIR", runtime.path()}},
         "",
         "hyprland"},
        {"Plasma on Wayland",
         {{"XDG_SESSION_TYPE", wayland},
          {"WAYLAND_DISPLAY", display},
          {"XDG_CURRENT_DESKTOP", "KDE"},
          {"DISPLAY", x}},
         "/usr/share/corvane/kwin/corvane-focus.js",
         "kwin"},
        {"Plasma on Wayland without the script: XWayland windows",
         {{"XDG_SESSION_TYPE", wayland},
          {"WAYLAND_DISPLAY", display},
          {"XDG_CURRENT_DESKTOP", "KDE"},
          {"DISPLAY", x}},
         "",
         "x11"},
        {"GNOME on Wayland: the extension reports, X11 sees XWayland windows",
         {{"XDG_SESSION_TYPE", wayland},
          {"WAYLAND_DISPLAY", display},
          {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"},
          {"DISPLAY", x}},
         "",
         "x11"},
        {"river",
         {{"XDG_SESSION_TYPE", wayland},
          {"WAYLAND_DISPLAY", display},
          {"XDG_CURRENT_DESKTOP", "river"},
          {"DISPLAY", x}},
         "",
         "wlroots"},
        {"labwc, no desktop named",
         {{"XDG_SESSION_TYPE", wayland}, {"WAYLAND_DISPLAY", display}},
         "",
         "wlroots"},
        {"Wayfire on Plasma's machine: the script is not for it",
         {{"XDG_SESSION_TYPE", wayland},
          {"WAYLAND_DISPLAY", display},
          {"XDG_CURRENT_DESKTOP", "Wayfire"}},
         "/usr/share/corvane/kwin/corvane-focus.js",
         "wlroots"},
        {"a Wayland session without its socket named",
         {{"XDG_SESSION_TYPE", wayland}, {"DISPLAY", x}},
         "",
         "x11"},
        {"an X11 session with a nested Wayland compositor",
         {{"XDG_SESSION_TYPE", "x11"}, {"WAYLAND_DISPLAY", display}, {"DISPLAY", x}},
         "",
         "x11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.session);
        QProcessEnvironment env;
        for (const auto& [name, value] : c.env)
            env.insert(QString::fromLatin1(name), value);
        const auto watcher = watcherForSession(env, QString::fromLatin1(c.kwinScript));
        EXPECT_EQ(watcher ? watcher->name() : QString(), QString::fromLatin1(c.watcher));
    }
}

} // namespace
} // namespace corvane::focus
