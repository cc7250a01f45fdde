#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/transport/ReportPacket.h"
#include "store/MacroRecords.h"

namespace corvane::protocol {

// The kinds of recorded macro step (a MacroEvent's type).
enum class MacroEventType : int {
    Delay = 1,   // value: milliseconds
    KeyDown = 2, // value: virtual-key code
    KeyUp = 3,
    ButtonDown = 4, // value: button mask
    ButtonUp = 5,
};

// A macro as the mouse takes it: the index of the button that plays it, then one
// 4-byte record per key or button step: action, the delay after it in milliseconds
// (16-bit little-endian), and the button mask, HID usage or modifier mask.
struct MacroStream {
    std::vector<std::uint8_t> bytes;
    int records = 0;
};

inline constexpr std::size_t kMacroRecordBytes = 4;

// Record actions.
inline constexpr std::uint8_t kActionButtonDown = 0x10;
inline constexpr std::uint8_t kActionButtonUp = 0x90;
inline constexpr std::uint8_t kActionKeyDown = 0x30;
inline constexpr std::uint8_t kActionKeyUp = 0xB0;
inline constexpr std::uint8_t kActionModifierDown = 0x20;
inline constexpr std::uint8_t kActionModifierUp = 0xA0;

// Delays add up into the record before them (a delay in front of the first step goes
// into the first record); every record waits at least 1 ms except after a trailing
// delay, which is written as it stands. Delays are held to 0..65535 ms. Steps of
// other types are skipped.
MacroStream buildMacroStream(int buttonIndex, std::span<const store::MacroEvent> events);
// The same for a macro of the store (no events: the button index alone).
MacroStream buildMacroStream(int buttonIndex, int macroId);

// The SetMacro packets of a stream (numbered 27-byte slices). False, and no packet,
// for an empty stream or one longer than the 15 packets the numbering can count
// (405 bytes).
bool macroPackets(std::span<const std::uint8_t> stream, std::vector<ReportPacket>& packets);

} // namespace corvane::protocol
