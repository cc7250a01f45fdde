#include "protocol/codec/ColorBytes.h"

#include <array>

namespace corvane::protocol {

bool putColor(ReportPacket& packet, int b, int color) {
    const auto bits = static_cast<std::uint32_t>(color);
    const std::array<std::uint8_t, kColorBytes> bytes{
        static_cast<std::uint8_t>(bits & 0xFF), static_cast<std::uint8_t>((bits >> 8) & 0xFF),
        static_cast<std::uint8_t>((bits >> 16) & 0xFF)};
    return packet.setParameters(b, bytes);
}

int colorAt(AnswerBytes answer, int b) {
    return answerAt(answer, b) | (answerAt(answer, b + 1) << 8) | (answerAt(answer, b + 2) << 16);
}

} // namespace corvane::protocol
