#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>

#include "hid/HidApi.h"

namespace corvane::hid {

// The mouse may send a notice (0xC0 link state, 0xC2 DPI button) at any time, also
// while a command waits for its answer. The interface's reader (or an exchange reading
// the handle itself) holds it here, and the worker's next notice step hands it over.
// The device manager owns one of these beside the handles it keeps notices for. Thread-safe.

inline constexpr std::uint8_t kConnectionNoticeCode = 0xC0;
inline constexpr std::uint8_t kDpiNoticeCode = 0xC2;

// True for a report (answer form: byte 0 is B0) that is one of the mouse's notices.
bool isNoticeReport(const std::uint8_t* report, std::size_t length);

class HeldNotices {
public:
    static constexpr std::size_t kMaxPerDevice = 8;

    // Keeps a copy of the first `length` bytes (at most 65) for `device`. Beyond
    // kMaxPerDevice the oldest goes.
    void hold(HidDevice* device, const std::uint8_t* report, std::size_t length);
    // Copies the oldest held notice of `device` into `buffer` (the first `length` bytes,
    // the rest of a shorter notice zeroed) and forgets it. False when none is held.
    bool take(HidDevice* device, std::uint8_t* buffer, std::size_t length);
    // Forgets the notices held for `device` whose B0 is `code`: they are older than
    // something that made them stale.
    void drop(HidDevice* device, std::uint8_t code);
    // Forgets the oldest `count` of them.
    void dropOldest(HidDevice* device, std::uint8_t code, std::size_t count);
    // Forgets every notice held for `device`; done before its handle is closed, since a
    // later handle may reuse the address.
    void dropAll(HidDevice* device);
    std::size_t count(HidDevice* device) const;
    std::size_t count(HidDevice* device, std::uint8_t code) const;

private:
    using Report = std::array<std::uint8_t, 65>;
    mutable std::mutex mutex_;
    std::map<HidDevice*, std::deque<Report>> notices_;
};

} // namespace corvane::hid
