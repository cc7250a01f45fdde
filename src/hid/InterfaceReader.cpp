#include "hid/InterfaceReader.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "hid/HeldNotices.h"
#include "hid/ReportExchange.h"

namespace corvane::hid {

InterfaceReader::InterfaceReader(HidApi& api, HidDevice* device, ReportLayout layout,
                                 HeldNotices& notices, std::function<void()> noticeArrived)
    : api_(api), device_(device), layout_(layout), notices_(notices),
      noticeArrived_(std::move(noticeArrived)), thread_(&InterfaceReader::run, this) {}

InterfaceReader::~InterfaceReader() {
    stop();
}

void InterfaceReader::run() {
    // No `interrupted` flag here: a stop of the worker ends exchanges, not the reader.
    const Channel channel{api_, device_, layout_, nullptr, nullptr};
    std::array<std::uint8_t, kReportBufferSize> report{};
    bool failed = false;
    while (!stopping_.load()) {
        const int got = readOwnReport(channel, report.data(), report.size(), kStopTimeoutMs);
        if (stopping_.load()) {
            break;
        }
        if (got < 0) {
            failed = true; // the node is gone: every later read would fail at once
            break;
        }
        if (got == 0) {
            continue;
        }
        const auto length = static_cast<std::size_t>(got);
        if (isNoticeReport(report.data(), length)) {
            notices_.hold(device_, report.data(), length);
            if (noticeArrived_) {
                noticeArrived_();
            }
            continue;
        }
        std::lock_guard lock(mutex_);
        if (answers_.size() < kAnswerLimit) {
            Answer answer;
            std::memcpy(answer.bytes.data(), report.data(), length);
            answer.length = length;
            answers_.push_back(answer);
        }
        answered_.notify_all();
    }
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        failed_ = failed;
    }
    answered_.notify_all();
}

void InterfaceReader::stop() {
    std::lock_guard stopLock(stopMutex_);
    if (!thread_.joinable()) {
        return;
    }
    stopping_.store(true);
    api_.cancel_reads(device_);
    thread_.join();
}

int InterfaceReader::takeAnswer(std::uint8_t* buffer, std::size_t length, int timeoutMs,
                                const std::atomic<bool>* interrupted) {
    if (!buffer) {
        return -1;
    }
    std::unique_lock lock(mutex_);
    const std::uint64_t wakeups = wakeups_;
    const auto ready = [&] {
        return !answers_.empty() || ended_ || wakeups_ != wakeups ||
               (interrupted && interrupted->load());
    };
    answered_.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)), ready);
    if (answers_.empty()) {
        return ended_ ? -1 : 0;
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    const std::size_t copied = std::min(length, answer.length);
    std::memcpy(buffer, answer.bytes.data(), copied);
    return static_cast<int>(copied);
}

void InterfaceReader::wakeWaiters() {
    {
        std::lock_guard lock(mutex_);
        ++wakeups_;
    }
    answered_.notify_all();
}

bool InterfaceReader::failed() const {
    std::lock_guard lock(mutex_);
    return failed_;
}

} // namespace corvane::hid
