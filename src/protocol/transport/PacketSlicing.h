#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "protocol/transport/ReportPacket.h"

namespace corvane::protocol {

inline constexpr std::size_t kSliceLength = 27;
inline constexpr std::size_t kMaxPackets = 15; // the packet number holds a count of 1..15
inline constexpr std::size_t kMaxSlicedPayload = kSliceLength * kMaxPackets;

// Cuts a payload into numbered packets of `code` (a multi-packet write such as
// SetMacro): packet i of n carries B2 = (i << 4) | n, B3 = its slice length (27, the
// last one the rest) and the slice from B4. `packets` is replaced. False, with
// `packets` empty, for an empty payload or one longer than 15 packets can number.
bool slicePayload(Command code, std::span<const std::uint8_t> payload,
                  std::vector<ReportPacket>& packets);

} // namespace corvane::protocol
