#pragma once
// A private X server (Xvfb) for a test, with the calls a window manager makes: windows
// with a class, title and process id, and _NET_ACTIVE_WINDOW on the root window.

#include "support/WaitUntil.h"

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace corvane::test {

class XvfbDisplay {
public:
    static constexpr int kHang = 10000; // only catches a hang

    // Whether the X server can be started at all.
    static bool installed() { return !QStandardPaths::findExecutable("Xvfb").isEmpty(); }

    bool start() {
        // -displayfd 1: the server picks a free display and writes its number on stdout.
        m_server.start(QStandardPaths::findExecutable("Xvfb"),
                       {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "320x240x24"});
        if (!m_server.waitForStarted(kHang) ||
            !waitUntil([&] { return m_server.canReadLine(); }, kHang))
            return false;
        m_display = ":" + m_server.readLine().trimmed();
        m_wm = xcb_connect(m_display.constData(), nullptr);
        if (xcb_connection_has_error(m_wm))
            return false;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_wm)).data->root;
        return true;
    }

    ~XvfbDisplay() {
        if (m_wm)
            xcb_disconnect(m_wm);
        m_server.terminate();
        m_server.waitForFinished(kHang);
    }

    QByteArray display() const { return m_display; }

    // A mapped window with WM_CLASS "instance\0class\0", a UTF-8 title and a process id.
    xcb_window_t window(const char* instance, const char* cls, const char* title, uint32_t pid) {
        const xcb_window_t id = xcb_generate_id(m_wm);
        xcb_create_window(m_wm, XCB_COPY_FROM_PARENT, id, m_root, 0, 0, 50, 50, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        const QByteArray wmClass = QByteArray(instance) + '\0' + cls + '\0';
        xcb_change_property(m_wm, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            uint32_t(wmClass.size()), wmClass.constData());
        xcb_change_property(m_wm, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_NAME"),
                            atom("UTF8_STRING"), 8, uint32_t(std::strlen(title)), title);
        xcb_change_property(m_wm, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL,
                            32, 1, &pid);
        xcb_map_window(m_wm, id);
        xcb_flush(m_wm);
        return id;
    }

    // What a window manager does when a window takes the focus.
    void activate(xcb_window_t id) {
        xcb_change_property(m_wm, XCB_PROP_MODE_REPLACE, m_root, atom("_NET_ACTIVE_WINDOW"),
                            XCB_ATOM_WINDOW, 32, 1, &id);
        xcb_flush(m_wm);
    }

private:
    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            m_wm, xcb_intern_atom(m_wm, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : 0;
        std::free(reply);
        return value;
    }

    QProcess m_server;
    QByteArray m_display;
    xcb_connection_t* m_wm = nullptr;
    xcb_window_t m_root = 0;
};

} // namespace corvane::test
