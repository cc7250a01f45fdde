#pragma once

#include <cstddef>
#include <cstdint>

#include "hid/HidApi.h"

namespace corvane::hid {

// The mouse may send a notice (0xC0 link state, 0xC2 DPI button) while a command waits
// for its answer. Such a report is not the answer, and dropping it would lose a button
// press or a link change, so the exchange holds it here and the next notification poll
// on that handle delivers it before reading anything new.

inline constexpr std::uint8_t kConnectionNoticeCode = 0xC0;
inline constexpr std::uint8_t kDpiNoticeCode = 0xC2;

// True for a report (answer form: byte 0 is B0) that is one of the mouse's notices.
bool isNoticeReport(const std::uint8_t* report, std::size_t length);

// Keeps a copy of the first `length` bytes (at most 65) for `device`. At most eight
// notices are held per handle; beyond that the oldest goes.
void holdNotice(HidDevice* device, const std::uint8_t* report, std::size_t length);

// Copies the oldest held notice of `device` into `buffer` (the first `length` bytes,
// the rest of a shorter notice zeroed) and forgets it. False when none is held.
bool takeHeldNotice(HidDevice* device, std::uint8_t* buffer, std::size_t length);

// Forgets every notice held for `device`; called before its handle is closed, since a
// later handle may reuse the address.
void dropHeldNotices(HidDevice* device);

} // namespace corvane::hid
