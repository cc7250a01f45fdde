#pragma once

#include "focus/FocusWatcher.h"

#include <cstdint>

struct xcb_connection_t;
class QSocketNotifier;

namespace corvane::focus {

// X11 (and XWayland windows): the window manager keeps _NET_ACTIVE_WINDOW on the root
// window; a PropertyNotify for it means the focus moved. The window's WM_CLASS gives the
// instance and class, _NET_WM_PID the process, _NET_WM_NAME (or WM_NAME) the title.
class X11FocusWatcher : public FocusWatcher {
    Q_OBJECT
public:
    // display: as in $DISPLAY; empty for $DISPLAY itself.
    explicit X11FocusWatcher(QByteArray display = {}, QObject* parent = nullptr);
    ~X11FocusWatcher() override;

    bool start() override;
    QString name() const override { return QStringLiteral("x11"); }

private:
    void readEvents();
    void reportActiveWindow();
    std::uint32_t atom(const char* name) const;
    QByteArray property(std::uint32_t window, std::uint32_t name, std::uint32_t type) const;
    void close();

    QByteArray m_display;
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_root = 0;
    std::uint32_t m_activeAtom = 0;
    std::uint32_t m_pidAtom = 0;
    std::uint32_t m_netNameAtom = 0;
    std::uint32_t m_utf8Atom = 0;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace corvane::focus
