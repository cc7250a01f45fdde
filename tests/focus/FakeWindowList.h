#pragma once
// A small Wayland compositor offering only the wlroots window list, on a socket of the
// test's own and a thread of its own (the watcher's start waits for it). The test scripts
// what it announces: windows opening, retitled, activated, closed; the list finishing or
// its global going away. Each call runs on the compositor's thread and returns once the
// events are on their way to the client.

#include "wlr-foreign-toplevel-management-server.h"

#include <QByteArray>
#include <QString>

#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace corvane::test {

class FakeWindowList {
public:
    struct Window {
        QByteArray appId;
        QByteArray title;
        bool activated = false;
        wl_resource* handle = nullptr; // null once the client destroyed it
    };

    explicit FakeWindowList(const QString& path) {
        m_display = wl_display_create();
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = path.toLocal8Bit();
        std::memcpy(address.sun_path, name.constData(),
                    std::min<std::size_t>(name.size(), sizeof address.sun_path - 1));
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(fd, 4) != 0 || wl_display_add_socket_fd(m_display, fd) != 0) {
            ::close(fd);
            return;
        }
        m_global = wl_global_create(m_display, &zwlr_foreign_toplevel_manager_v1_interface, 3, this,
                                    bindManager);
        m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        m_wakeSource = wl_event_loop_add_fd(wl_display_get_event_loop(m_display), m_wake,
                                            WL_EVENT_READABLE, runQueued, this);
        m_thread = std::thread([display = m_display] { wl_display_run(display); });
    }
    ~FakeWindowList() {
        if (m_thread.joinable()) {
            wl_display_terminate(m_display);
            m_thread.join();
        }
        if (m_wakeSource)
            wl_event_source_remove(m_wakeSource);
        wl_display_destroy_clients(m_display);
        wl_display_destroy(m_display);
        if (m_wake >= 0)
            ::close(m_wake);
    }
    bool running() const { return m_thread.joinable(); }

    // Opens a window; its index for the calls below.
    int open(const char* appId, const char* title, bool activated) {
        int index = 0;
        onCompositor([&] {
            m_windows.push_back(Window{appId, title, activated, nullptr});
            index = int(m_windows.size()) - 1;
            announce(index);
        });
        return index;
    }
    void retitle(int window, const char* title) {
        onCompositor([&] {
            m_windows[window].title = title;
            if (wl_resource* handle = m_windows[window].handle) {
                zwlr_foreign_toplevel_handle_v1_send_title(handle, title);
                zwlr_foreign_toplevel_handle_v1_send_done(handle);
            }
        });
    }
    void setActivated(int window, bool activated) {
        onCompositor([&] {
            m_windows[window].activated = activated;
            if (wl_resource* handle = m_windows[window].handle) {
                sendState(handle, activated);
                zwlr_foreign_toplevel_handle_v1_send_done(handle);
            }
        });
    }
    void close(int window) {
        onCompositor([&] {
            if (wl_resource* handle = m_windows[window].handle)
                zwlr_foreign_toplevel_handle_v1_send_closed(handle);
        });
    }
    // The compositor is done with the list (as before it exits).
    void finish() {
        onCompositor([&] {
            if (m_manager) {
                zwlr_foreign_toplevel_manager_v1_send_finished(m_manager);
                wl_resource_destroy(m_manager);
            }
        });
    }
    void removeGlobal() {
        onCompositor([&] {
            wl_global_destroy(m_global);
            m_global = nullptr;
        });
    }
    // Whether the client still holds the window's handle.
    bool handleHeld(int window) {
        bool held = false;
        onCompositor([&] { held = m_windows[window].handle != nullptr; });
        return held;
    }

private:
    void onCompositor(const std::function<void()>& action) {
        std::promise<void> done;
        {
            const std::lock_guard lock(m_mutex);
            m_queue.push_back([&] {
                action();
                wl_display_flush_clients(m_display);
                done.set_value();
            });
        }
        const std::uint64_t one = 1;
        if (::write(m_wake, &one, sizeof one) != sizeof one)
            return;
        done.get_future().wait();
    }
    static int runQueued(int fd, std::uint32_t, void* data) {
        auto* self = static_cast<FakeWindowList*>(data);
        std::uint64_t count = 0;
        if (::read(fd, &count, sizeof count) < 0)
            return 0;
        std::vector<std::function<void()>> queue;
        {
            const std::lock_guard lock(self->m_mutex);
            queue.swap(self->m_queue);
        }
        for (const auto& action : queue)
            action();
        return 0;
    }

    static void bindManager(wl_client* client, void* data, std::uint32_t version,
                            std::uint32_t id) {
        auto* self = static_cast<FakeWindowList*>(data);
        self->m_manager = wl_resource_create(client, &zwlr_foreign_toplevel_manager_v1_interface,
                                             int(version), id);
        static const struct zwlr_foreign_toplevel_manager_v1_interface requests = {stop};
        wl_resource_set_implementation(self->m_manager, &requests, self, managerGone);
        for (int index = 0; index < int(self->m_windows.size()); ++index)
            self->announce(index);
    }
    static void stop(wl_client*, wl_resource* manager) {
        zwlr_foreign_toplevel_manager_v1_send_finished(manager);
        wl_resource_destroy(manager);
    }
    static void managerGone(wl_resource* manager) {
        auto* self = static_cast<FakeWindowList*>(wl_resource_get_user_data(manager));
        if (self->m_manager == manager)
            self->m_manager = nullptr;
    }

    void announce(int index) {
        if (!m_manager)
            return;
        Window& window = m_windows[index];
        window.handle = wl_resource_create(wl_resource_get_client(m_manager),
                                           &zwlr_foreign_toplevel_handle_v1_interface,
                                           wl_resource_get_version(m_manager), 0);
        static const struct zwlr_foreign_toplevel_handle_v1_interface requests = {
            nullptr, nullptr, nullptr,       nullptr, nullptr,
            nullptr, nullptr, destroyHandle, nullptr, nullptr};
        m_handleOwners.push_back({window.handle, index});
        wl_resource_set_implementation(window.handle, &requests, this, handleGone);
        zwlr_foreign_toplevel_manager_v1_send_toplevel(m_manager, window.handle);
        zwlr_foreign_toplevel_handle_v1_send_title(window.handle, window.title.constData());
        zwlr_foreign_toplevel_handle_v1_send_app_id(window.handle, window.appId.constData());
        sendState(window.handle, window.activated);
        zwlr_foreign_toplevel_handle_v1_send_done(window.handle);
    }
    static void sendState(wl_resource* handle, bool activated) {
        wl_array states;
        wl_array_init(&states);
        if (activated) {
            auto* entry = static_cast<std::uint32_t*>(wl_array_add(&states, sizeof(std::uint32_t)));
            *entry = ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
        }
        zwlr_foreign_toplevel_handle_v1_send_state(handle, &states);
        wl_array_release(&states);
    }
    static void destroyHandle(wl_client*, wl_resource* handle) { wl_resource_destroy(handle); }
    static void handleGone(wl_resource* handle) {
        auto* self = static_cast<FakeWindowList*>(wl_resource_get_user_data(handle));
        for (const auto& [resource, index] : self->m_handleOwners) {
            if (resource == handle && self->m_windows[index].handle == handle)
                self->m_windows[index].handle = nullptr;
        }
    }

    wl_display* m_display = nullptr;
    wl_global* m_global = nullptr;
    wl_resource* m_manager = nullptr;
    std::vector<Window> m_windows;
    std::vector<std::pair<wl_resource*, int>> m_handleOwners;
    int m_wake = -1;
    wl_event_source* m_wakeSource = nullptr;
    std::mutex m_mutex;
    std::vector<std::function<void()>> m_queue;
    std::thread m_thread;
};

} // namespace corvane::test
