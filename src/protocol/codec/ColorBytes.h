#pragma once

#include "protocol/transport/AnswerBytes.h"
#include "protocol/transport/ReportPacket.h"

namespace corvane::protocol {

// A colour is a 0x00BBGGRR value; on the wire it is three bytes, bits 0-7, 8-15 and
// 16-23 in that order (red first). Bits above 23 are not sent.
inline constexpr int kColorBytes = 3;

// Writes the colour to B(b)..B(b+2); false when that passes B30.
bool putColor(ReportPacket& packet, int b, int color);
// The colour held in B(b)..B(b+2) of an answer.
int colorAt(AnswerBytes answer, int b);

} // namespace corvane::protocol
