#pragma once

#include <cstdint>

#include "virtualmouse/Reports.h"

namespace corvane::vm {

// True when the firmware would take this body: a known command with the packet number
// and size byte it expects (SetMacro: a packet number with 1..15 packets and 1..27
// bytes), and B31 the sum of B4..B30.
bool isWellFormed(const CommandBody& body);

// True for the commands that read (0x10..0x17, 0x20).
bool isReadCommand(std::uint8_t code);

} // namespace corvane::vm
