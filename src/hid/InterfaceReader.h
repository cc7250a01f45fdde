#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "hid/HidApi.h"
#include "hid/ReportDescriptor.h"

namespace corvane::hid {

class HeldNotices;

// The one thread that reads an open command interface. It waits in its read until the
// mouse sends something and sorts each report: a notice (DPI button, link change) is
// held in HeldNotices and announced through `noticeArrived`; anything else is an
// answer, kept until the exchange waiting for it takes it. An idle interface costs one
// wake-up per kStopTimeoutMs, which is only there to notice a stop on a HID layer that
// cannot end a read from outside.
//
// stop() ends the read and joins the thread; only then may the handle be closed.
class InterfaceReader {
public:
    static constexpr int kStopTimeoutMs = 2000;
    // Like the kernel's buffer per reader: while it is full, a new answer is dropped.
    static constexpr std::size_t kAnswerLimit = 64;

    InterfaceReader(HidApi& api, HidDevice* device, ReportLayout layout, HeldNotices& notices,
                    std::function<void()> noticeArrived);
    // Stops the reader.
    ~InterfaceReader();
    InterfaceReader(const InterfaceReader&) = delete;
    InterfaceReader& operator=(const InterfaceReader&) = delete;

    // Ends the read in progress and joins the thread. Safe to call more than once.
    void stop();

    // Waits up to `timeoutMs` for an answer and moves the oldest into `buffer` (at most
    // `length` bytes, answer form). The number of bytes; 0 when none came in time or
    // `interrupted` was set meanwhile; -1 once the reader has ended (the device went
    // away or the reader was stopped) with no answer left.
    int takeAnswer(std::uint8_t* buffer, std::size_t length, int timeoutMs,
                   const std::atomic<bool>* interrupted);
    // Ends the waits of takeAnswer so that they look at `interrupted` again.
    void wakeWaiters();
    // True once the reader has ended on its own: a read failed (the device is gone).
    bool failed() const;

private:
    struct Answer {
        std::array<std::uint8_t, 65> bytes{};
        std::size_t length = 0;
    };

    void run();

    HidApi& api_;
    HidDevice* const device_;
    const ReportLayout layout_;
    HeldNotices& notices_;
    const std::function<void()> noticeArrived_;

    mutable std::mutex mutex_;
    std::condition_variable answered_;
    std::deque<Answer> answers_;
    bool ended_ = false;  // the thread is done reading
    bool failed_ = false; // it ended because a read failed
    std::uint64_t wakeups_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex stopMutex_;
    std::thread thread_; // last: it starts once everything above is ready
};

} // namespace corvane::hid
