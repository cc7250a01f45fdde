#include "hid/SystemHidApi.h"

#include <hidapi.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <mutex>
#include <optional>
#include <thread>

#include <pthread.h>

#include "hid/HidrawDescriptor.h"

namespace corvane::hid {

namespace {

class SystemHandle final : public HidDevice {
public:
    SystemHandle(hid_device* device, std::string path) : device(device), path(std::move(path)) {}
    hid_device* const device;
    const std::string path; // the hidraw node
    std::atomic<bool> cancelled{false};
    std::mutex readerMutex;
    std::optional<pthread_t> reader; // the thread waiting in a read (readerMutex)
};

// hidapi waits in poll() and offers no way to end that wait from another thread; a
// signal with an empty handler does: poll returns EINTR and the read gives -1.
int wakeSignal() {
    return SIGRTMIN + 4;
}

void installWakeHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the wait must end
        sigaction(wakeSignal(), &action, nullptr);
    });
}

// A signal that lands just before the reader enters poll() is lost, so it is sent
// again until the read has ended; a read that ignores every one ends at its timeout.
constexpr auto kWakeRepeat = std::chrono::milliseconds(2);
constexpr int kWakeAttempts = 500;

hid_device* native(HidDevice* device) {
    auto* handle = dynamic_cast<SystemHandle*>(device);
    return handle ? handle->device : nullptr;
}

} // namespace

int SystemHidApi::init() {
    return hid_init();
}

int SystemHidApi::exit() {
    return hid_exit();
}

std::vector<HidDeviceInfo> SystemHidApi::enumerate(std::uint16_t vendorId,
                                                   std::uint16_t productId) {
    std::vector<HidDeviceInfo> result;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (const hid_device_info* entry = list; entry; entry = entry->next) {
        HidDeviceInfo info;
        info.path = entry->path ? entry->path : "";
        info.vendorId = entry->vendor_id;
        info.productId = entry->product_id;
        info.releaseNumber = entry->release_number;
        info.usagePage = entry->usage_page;
        info.usage = entry->usage;
        info.interfaceNumber = entry->interface_number;
        result.push_back(std::move(info));
    }
    hid_free_enumeration(list);
    return result;
}

HidDevice* SystemHidApi::open_path(const std::string& path) {
    hid_device* device = hid_open_path(path.c_str());
    return device ? new SystemHandle(device, path) : nullptr;
}

int SystemHidApi::write(HidDevice* device, const std::uint8_t* data, std::size_t length) {
    hid_device* handle = native(device);
    if (!handle || !data) {
        return -1;
    }
    return hid_write(handle, data, length);
}

int SystemHidApi::read_timeout(HidDevice* device, std::uint8_t* data, std::size_t length,
                               int milliseconds) {
    auto* handle = dynamic_cast<SystemHandle*>(device);
    if (!handle || !data) {
        return -1;
    }
    {
        std::lock_guard lock(handle->readerMutex);
        if (handle->cancelled.load()) {
            return -1;
        }
        handle->reader = pthread_self();
    }
    const int result = hid_read_timeout(handle->device, data, length, milliseconds);
    std::lock_guard lock(handle->readerMutex);
    handle->reader.reset();
    return handle->cancelled.load() ? -1 : result;
}

void SystemHidApi::cancel_reads(HidDevice* device) {
    auto* handle = dynamic_cast<SystemHandle*>(device);
    if (!handle) {
        return;
    }
    installWakeHandler();
    handle->cancelled.store(true);
    for (int attempt = 0; attempt < kWakeAttempts; ++attempt) {
        {
            std::lock_guard lock(handle->readerMutex);
            if (!handle->reader) {
                return;
            }
            pthread_kill(*handle->reader, wakeSignal());
        }
        std::this_thread::sleep_for(kWakeRepeat);
    }
}

int SystemHidApi::get_report_descriptor(HidDevice* device, std::uint8_t* buffer, std::size_t size) {
    auto* handle = dynamic_cast<SystemHandle*>(device);
    if (!handle || !buffer) {
        return -1;
    }
#if HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0)
    return hid_get_report_descriptor(handle->device, buffer, size);
#else
    // hidapi before 0.14 has no call for it; its hidraw back end would read the same file.
    return readHidrawReportDescriptor(handle->path, buffer, size);
#endif
}

void SystemHidApi::close(HidDevice* device) {
    auto* handle = dynamic_cast<SystemHandle*>(device);
    if (!handle) {
        return;
    }
    hid_close(handle->device);
    delete handle;
}

} // namespace corvane::hid
