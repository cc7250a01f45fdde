#include "focus/X11FocusWatcher.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace corvane::focus {

namespace {
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

// Longest property read: a window class or title longer than this is cut.
constexpr std::uint32_t kMaxPropertyWords = 1024;
} // namespace

X11FocusWatcher::X11FocusWatcher(QByteArray display, QObject* parent)
    : FocusWatcher(parent), m_display(std::move(display)) {}

X11FocusWatcher::~X11FocusWatcher() {
    close();
}

void X11FocusWatcher::close() {
    delete m_notifier;
    m_notifier = nullptr;
    if (m_connection)
        xcb_disconnect(m_connection);
    m_connection = nullptr;
}

std::uint32_t X11FocusWatcher::atom(const char* name) const {
    const auto cookie = xcb_intern_atom(m_connection, 0, std::uint16_t(std::strlen(name)), name);
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection, cookie, nullptr));
    return reply ? reply->atom : std::uint32_t(XCB_ATOM_NONE);
}

bool X11FocusWatcher::start() {
    close();
    m_connection = xcb_connect(m_display.isEmpty() ? nullptr : m_display.constData(), nullptr);
    if (!m_connection || xcb_connection_has_error(m_connection)) {
        close();
        return false;
    }
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    if (screens.rem < 1) {
        close();
        return false;
    }
    m_root = screens.data->root;
    m_activeAtom = atom("_NET_ACTIVE_WINDOW");
    m_pidAtom = atom("_NET_WM_PID");
    m_netNameAtom = atom("_NET_WM_NAME");
    m_utf8Atom = atom("UTF8_STRING");
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    if (xcb_connection_has_error(m_connection)) {
        close();
        return false;
    }
    m_notifier =
        new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11FocusWatcher::readEvents);
    reportActiveWindow();
    readEvents(); // what the first report's replies queued
    return m_connection != nullptr;
}

void X11FocusWatcher::readEvents() {
    // The replies read in reportActiveWindow can pull events off the socket into xcb's
    // own queue, where the socket notifier never sees them: after each report, take what
    // was queued meanwhile, until a pass finds no change of the active window.
    for (;;) {
        bool activeChanged = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
                const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
                if (notify->window == m_root && notify->atom == m_activeAtom)
                    activeChanged = true;
            }
            std::free(event);
        }
        if (xcb_connection_has_error(m_connection)) {
            close();
            emit lost();
            return;
        }
        if (!activeChanged)
            return;
        reportActiveWindow();
    }
}

QByteArray X11FocusWatcher::property(std::uint32_t window, std::uint32_t name,
                                     std::uint32_t type) const {
    const auto cookie = xcb_get_property(m_connection, 0, window, name, type, 0, kMaxPropertyWords);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE)
        return {};
    const int length = xcb_get_property_value_length(reply.get());
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
}

void X11FocusWatcher::reportActiveWindow() {
    FocusedApp app;
    const QByteArray active = property(m_root, m_activeAtom, XCB_ATOM_WINDOW);
    std::uint32_t window = 0;
    if (active.size() >= 4)
        std::memcpy(&window, active.constData(), 4);
    if (window != 0) {
        // WM_CLASS: the instance and the class, each ended by a NUL.
        const QList<QByteArray> parts =
            property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
        if (!parts.isEmpty())
            app.instance = QString::fromLocal8Bit(parts.value(0));
        app.appId = QString::fromLocal8Bit(parts.value(1));
        const QByteArray pid = property(window, m_pidAtom, XCB_ATOM_CARDINAL);
        if (pid.size() >= 4) {
            std::uint32_t value = 0;
            std::memcpy(&value, pid.constData(), 4);
            app.pid = value;
        }
        QByteArray title = property(window, m_netNameAtom, m_utf8Atom);
        app.title = title.isEmpty()
                        ? QString::fromLatin1(property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING))
                        : QString::fromUtf8(title);
    }
    emit focused(app);
}

} // namespace corvane::focus
