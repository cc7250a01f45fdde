#include "hid/HeldNotices.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

#include "hid/ReportExchange.h"

namespace corvane::hid {

namespace {

constexpr std::size_t kMaxHeldPerDevice = 8;

using Report = std::array<std::uint8_t, kReportBufferSize>;

struct Held {
    std::mutex mutex;
    std::map<HidDevice*, std::deque<Report>> notices;
};

Held& held() {
    static Held instance;
    return instance;
}

} // namespace

bool isNoticeReport(const std::uint8_t* report, std::size_t length) {
    return report != nullptr && length > 0 &&
           (report[0] == kConnectionNoticeCode || report[0] == kDpiNoticeCode);
}

void holdNotice(HidDevice* device, const std::uint8_t* report, std::size_t length) {
    if (device == nullptr || report == nullptr) {
        return;
    }
    Report copy{};
    std::memcpy(copy.data(), report, std::min(length, copy.size()));
    Held& store = held();
    std::lock_guard lock(store.mutex);
    std::deque<Report>& queue = store.notices[device];
    if (queue.size() == kMaxHeldPerDevice) {
        queue.pop_front();
    }
    queue.push_back(copy);
}

bool takeHeldNotice(HidDevice* device, std::uint8_t* buffer, std::size_t length) {
    if (buffer == nullptr) {
        return false;
    }
    Held& store = held();
    std::lock_guard lock(store.mutex);
    const auto found = store.notices.find(device);
    if (found == store.notices.end() || found->second.empty()) {
        return false;
    }
    const Report& oldest = found->second.front();
    const std::size_t copied = std::min(length, oldest.size());
    std::memcpy(buffer, oldest.data(), copied);
    std::memset(buffer + copied, 0, length - copied);
    found->second.pop_front();
    if (found->second.empty()) {
        store.notices.erase(found);
    }
    return true;
}

void dropHeldNotices(HidDevice* device) {
    Held& store = held();
    std::lock_guard lock(store.mutex);
    store.notices.erase(device);
}

} // namespace corvane::hid
