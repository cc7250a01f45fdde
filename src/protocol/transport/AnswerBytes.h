#pragma once

#include <cstdint>
#include <span>

#include "hid/ReportExchange.h"
#include "protocol/transport/ReportPacket.h"

namespace corvane::protocol {

// An answer in answer form: index k holds B(k). Decoders read it through answerAt, so
// a short buffer reads as zeros instead of running past its end.
using AnswerBytes = std::span<const std::uint8_t>;

inline std::uint8_t answerAt(AnswerBytes answer, int b) {
    return b >= 0 && static_cast<std::size_t>(b) < answer.size() ? answer[b] : 0;
}

inline AnswerBytes answerOf(const ReportPacket& packet) {
    return {packet.data(), hid::kReportBufferSize};
}

} // namespace corvane::protocol
