#pragma once

#include "protocol/transport/ReportPacket.h"
#include "protocol/transport/SettingValues.h"

namespace corvane::protocol {

// The steps every command function shares: one transaction with the current command
// interface, a trace line when it fails, and storing what an answer gave.

// Sends a write command. When it is not accepted a trace line names the command code
// and `setting` (e.g. "DPI").
bool sendWrite(ReportPacket& packet, const char* setting);

// Sends a read command. True when an answer was accepted; `packet` then holds it. A
// notification the mouse sent meanwhile (B0 0xC0 or 0xC2) is not the answer: the read
// counts as failed, so nothing is decoded from it.
bool sendRead(ReportPacket& packet, const char* setting);

// Writes the values into the profile's settings under one hold of the store's lock, so
// that no other thread sees half of them. True when every write succeeded.
bool storeSettings(int profile, const SettingValues& values);

} // namespace corvane::protocol
