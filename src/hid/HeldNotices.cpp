#include "hid/HeldNotices.h"

#include <algorithm>
#include <cstring>

namespace corvane::hid {

bool isNoticeReport(const std::uint8_t* report, std::size_t length) {
    return report != nullptr && length > 0 &&
           (report[0] == kConnectionNoticeCode || report[0] == kDpiNoticeCode);
}

void HeldNotices::hold(HidDevice* device, const std::uint8_t* report, std::size_t length) {
    if (device == nullptr || report == nullptr) {
        return;
    }
    Report copy{};
    std::memcpy(copy.data(), report, std::min(length, copy.size()));
    std::lock_guard lock(mutex_);
    std::deque<Report>& queue = notices_[device];
    if (queue.size() == kMaxPerDevice) {
        queue.pop_front();
    }
    queue.push_back(copy);
}

bool HeldNotices::take(HidDevice* device, std::uint8_t* buffer, std::size_t length) {
    if (buffer == nullptr) {
        return false;
    }
    std::lock_guard lock(mutex_);
    const auto found = notices_.find(device);
    if (found == notices_.end() || found->second.empty()) {
        return false;
    }
    const Report& oldest = found->second.front();
    const std::size_t copied = std::min(length, oldest.size());
    std::memcpy(buffer, oldest.data(), copied);
    std::memset(buffer + copied, 0, length - copied);
    found->second.pop_front();
    if (found->second.empty()) {
        notices_.erase(found);
    }
    return true;
}

void HeldNotices::drop(HidDevice* device, std::uint8_t code) {
    dropOldest(device, code, kMaxPerDevice);
}

void HeldNotices::dropOldest(HidDevice* device, std::uint8_t code, std::size_t count) {
    std::lock_guard lock(mutex_);
    const auto found = notices_.find(device);
    if (found == notices_.end()) {
        return;
    }
    std::erase_if(found->second, [code, &count](const Report& report) {
        if (count == 0 || report[0] != code) {
            return false;
        }
        --count;
        return true;
    });
    if (found->second.empty()) {
        notices_.erase(found);
    }
}

void HeldNotices::dropAll(HidDevice* device) {
    std::lock_guard lock(mutex_);
    notices_.erase(device);
}

std::size_t HeldNotices::count(HidDevice* device, std::uint8_t code) const {
    std::lock_guard lock(mutex_);
    const auto found = notices_.find(device);
    if (found == notices_.end()) {
        return 0;
    }
    return static_cast<std::size_t>(
        std::count_if(found->second.begin(), found->second.end(),
                      [code](const Report& report) { return report[0] == code; }));
}

std::size_t HeldNotices::count(HidDevice* device) const {
    std::lock_guard lock(mutex_);
    const auto found = notices_.find(device);
    return found == notices_.end() ? 0 : found->second.size();
}

} // namespace corvane::hid
