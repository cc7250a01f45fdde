#include "focus/WlrootsFocusWatcher.h"

#include "wlr-foreign-toplevel-management-client.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QSocketNotifier>

#include <wayland-client.h>

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace corvane::focus {

namespace {
// The newest version of the window list this file speaks (it adds the parent event).
constexpr std::uint32_t kManagerVersion = 3;
// How long start() waits for the compositor to list its globals: only a stalled
// compositor takes this long.
constexpr int kStartTimeoutMs = 2000;
} // namespace

struct WlrootsFocusWatcher::Toplevel {
    WlrootsFocusWatcher* watcher = nullptr;
    zwlr_foreign_toplevel_handle_v1* handle = nullptr;
    // Changed by the events as they come; they count together at done.
    QString appId;
    QString title;
    bool activated = false;
};

// libwayland's C callbacks, each handing on to the watcher or the window they belong to.
struct WlrootsListeners {
    using Toplevel = WlrootsFocusWatcher::Toplevel;

    static void global(void* data, wl_registry*, std::uint32_t name, const char* interface,
                       std::uint32_t version) {
        auto* watcher = static_cast<WlrootsFocusWatcher*>(data);
        if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0 &&
            watcher->m_managerName == 0) {
            watcher->m_managerName = name;
            watcher->m_managerVersion = version;
        }
    }
    static void globalRemove(void* data, wl_registry*, std::uint32_t name) {
        auto* watcher = static_cast<WlrootsFocusWatcher*>(data);
        if (watcher->m_manager && name == watcher->m_managerName)
            watcher->m_ended = true;
    }
    static constexpr wl_registry_listener kRegistry = {global, globalRemove};

    static void syncDone(void* data, wl_callback* callback, std::uint32_t) {
        *static_cast<bool*>(data) = true;
        wl_callback_destroy(callback);
    }
    static constexpr wl_callback_listener kSync = {syncDone};

    static void toplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                         zwlr_foreign_toplevel_handle_v1* handle) {
        static_cast<WlrootsFocusWatcher*>(data)->addToplevel(handle);
    }
    static void finished(void* data, zwlr_foreign_toplevel_manager_v1* manager) {
        // The compositor has destroyed its side already.
        auto* watcher = static_cast<WlrootsFocusWatcher*>(data);
        zwlr_foreign_toplevel_manager_v1_destroy(manager);
        watcher->m_manager = nullptr;
        watcher->m_ended = true;
    }
    static constexpr zwlr_foreign_toplevel_manager_v1_listener kManager = {toplevel, finished};

    static void title(void* data, zwlr_foreign_toplevel_handle_v1*, const char* text) {
        static_cast<Toplevel*>(data)->title = QString::fromUtf8(text);
    }
    static void appId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* text) {
        static_cast<Toplevel*>(data)->appId = QString::fromUtf8(text);
    }
    static void output(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void state(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
        // 32-bit entries of the state enum; the array's bytes need not be aligned.
        bool activated = false;
        const auto* bytes = static_cast<const char*>(states->data);
        for (std::size_t at = 0; at + sizeof(std::uint32_t) <= states->size;
             at += sizeof(std::uint32_t)) {
            std::uint32_t entry = 0;
            std::memcpy(&entry, bytes + at, sizeof entry);
            activated = activated || entry == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
        }
        static_cast<Toplevel*>(data)->activated = activated;
    }
    static void done(void* data, zwlr_foreign_toplevel_handle_v1*) {
        auto* toplevel = static_cast<Toplevel*>(data);
        toplevel->watcher->toplevelDone(*toplevel);
    }
    static void closed(void* data, zwlr_foreign_toplevel_handle_v1*) {
        auto* toplevel = static_cast<Toplevel*>(data);
        toplevel->watcher->toplevelClosed(*toplevel);
    }
    static void parent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}
    static constexpr zwlr_foreign_toplevel_handle_v1_listener kToplevel = {
        title, appId, output, output, state, done, closed, parent};
};

WlrootsFocusWatcher::WlrootsFocusWatcher(QByteArray display, QString ownAppId, QObject* parent)
    : FocusWatcher(parent), m_displayName(std::move(display)), m_ownAppId(std::move(ownAppId)) {}

WlrootsFocusWatcher::~WlrootsFocusWatcher() {
    close();
}

bool WlrootsFocusWatcher::start() {
    close();
    m_display = wl_display_connect(m_displayName.isEmpty() ? nullptr : m_displayName.constData());
    if (!m_display)
        return false;
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &WlrootsListeners::kRegistry, this);
    if (!roundtrip(kStartTimeoutMs) || m_managerName == 0) {
        close();
        return false;
    }
    m_manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(
        wl_registry_bind(m_registry, m_managerName, &zwlr_foreign_toplevel_manager_v1_interface,
                         std::min(m_managerVersion, kManagerVersion)));
    zwlr_foreign_toplevel_manager_v1_add_listener(m_manager, &WlrootsListeners::kManager, this);

    const int fd = wl_display_get_fd(m_display);
    m_reader = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_reader, &QSocketNotifier::activated, this, &WlrootsFocusWatcher::readEvents);
    m_writer = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writer->setEnabled(false);
    connect(m_writer, &QSocketNotifier::activated, this, &WlrootsFocusWatcher::flush);
    // The windows open now, and which has the focus, arrive through the reader.
    flush();
    return m_display != nullptr;
}

// A round trip that gives up after timeoutMs, so that a stalled compositor cannot hold
// the window's thread.
bool WlrootsFocusWatcher::roundtrip(int timeoutMs) {
    bool answered = false;
    wl_callback* sync = wl_display_sync(m_display);
    wl_callback_add_listener(sync, &WlrootsListeners::kSync, &answered);
    const QDeadlineTimer deadline(timeoutMs);
    while (!answered) {
        if (wl_display_dispatch_pending(m_display) < 0)
            break;
        if (answered)
            break;
        if (wl_display_prepare_read(m_display) != 0)
            continue;
        if (wl_display_flush(m_display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(m_display);
            break;
        }
        pollfd ready{wl_display_get_fd(m_display), POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(deadline.remainingTime()));
        if (polled <= 0) {
            wl_display_cancel_read(m_display);
            if (polled < 0 && errno == EINTR)
                continue;
            break;
        }
        if (wl_display_read_events(m_display) < 0)
            break;
    }
    if (!answered)
        wl_callback_destroy(sync); // its listener points at this frame
    return answered;
}

void WlrootsFocusWatcher::readEvents() {
    if (!m_display)
        return;
    // Events another reader already queued are dispatched without reading.
    if (wl_display_prepare_read(m_display) == 0 && wl_display_read_events(m_display) < 0) {
        endConnection();
        return;
    }
    if (wl_display_dispatch_pending(m_display) < 0) {
        endConnection();
        return;
    }
    afterDispatch();
}

void WlrootsFocusWatcher::afterDispatch() {
    const QPointer<WlrootsFocusWatcher> alive(this);
    const std::vector<FocusedApp> reports = std::move(m_reports);
    m_reports.clear();
    for (const FocusedApp& app : reports) {
        emit focused(app);
        if (!alive)
            return;
    }
    if (m_ended) {
        endConnection();
        return;
    }
    flush();
}

void WlrootsFocusWatcher::flush() {
    if (!m_display)
        return;
    if (wl_display_flush(m_display) >= 0) {
        m_writer->setEnabled(false);
        return;
    }
    if (errno == EAGAIN) {
        m_writer->setEnabled(true); // the rest once the socket takes it
        return;
    }
    endConnection();
}

void WlrootsFocusWatcher::endConnection() {
    close();
    emit lost();
}

void WlrootsFocusWatcher::close() {
    // Notifiers first: the descriptor goes with the display. They may be the senders of
    // the call that ends here, so they go later.
    for (QSocketNotifier* notifier : {m_reader, m_writer}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_reader = nullptr;
    m_writer = nullptr;
    for (const auto& toplevel : m_toplevels)
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel->handle);
    m_toplevels.clear();
    m_active = nullptr;
    m_activeAppId.clear();
    m_reports.clear();
    if (m_manager)
        zwlr_foreign_toplevel_manager_v1_destroy(m_manager);
    m_manager = nullptr;
    m_managerName = 0;
    m_managerVersion = 0;
    m_ended = false;
    if (m_registry)
        wl_registry_destroy(m_registry);
    m_registry = nullptr;
    if (m_display)
        wl_display_disconnect(m_display);
    m_display = nullptr;
}

void WlrootsFocusWatcher::addToplevel(zwlr_foreign_toplevel_handle_v1* handle) {
    auto toplevel = std::make_unique<Toplevel>();
    toplevel->watcher = this;
    toplevel->handle = handle;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &WlrootsListeners::kToplevel,
                                                 toplevel.get());
    m_toplevels.push_back(std::move(toplevel));
}

FocusedApp WlrootsFocusWatcher::appOf(const Toplevel& toplevel) const {
    FocusedApp app;
    app.appId = toplevel.appId;
    app.title = toplevel.title;
    if (!m_ownAppId.isEmpty() && toplevel.appId == m_ownAppId)
        app.pid = QCoreApplication::applicationPid();
    return app;
}

void WlrootsFocusWatcher::toplevelDone(Toplevel& toplevel) {
    if (toplevel.activated) {
        // A new title alone is no change of focus: a window that retitles itself every
        // second must not keep the profile from settling.
        if (m_active == &toplevel && m_activeAppId == toplevel.appId)
            return;
        m_active = &toplevel;
        m_activeAppId = toplevel.appId;
        m_reports.push_back(appOf(toplevel));
    } else if (m_active == &toplevel) {
        m_active = nullptr;
        m_activeAppId.clear();
        m_reports.push_back(FocusedApp{});
    }
}

void WlrootsFocusWatcher::toplevelClosed(Toplevel& toplevel) {
    if (m_active == &toplevel) {
        m_active = nullptr;
        m_activeAppId.clear();
        m_reports.push_back(FocusedApp{});
    }
    zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    std::erase_if(m_toplevels, [&](const auto& held) { return held.get() == &toplevel; });
}

} // namespace corvane::focus
