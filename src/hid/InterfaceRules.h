#pragma once

#include <cstdint>

namespace corvane::hid {

// The collection a mouse or receiver takes commands on: usage page 0xFF01 with usage
// 0x0010, or (on some firmware) usage page 0x0001 with usage 0x0000. Its ordinary mouse
// and keyboard collections have other usages and are never opened.
bool isCommandUsage(std::uint16_t usagePage, std::uint16_t usage);

// The collection of the firmware loader: usage page 0xFFEF, usage 0x0000.
bool isBootloaderUsage(std::uint16_t usagePage, std::uint16_t usage);

inline constexpr std::uint16_t kBootloaderUsagePage = 0xFFEF;
inline constexpr std::uint16_t kBootloaderUsage = 0x0000;

} // namespace corvane::hid
