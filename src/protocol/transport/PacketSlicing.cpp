#include "protocol/transport/PacketSlicing.h"

#include <algorithm>

namespace corvane::protocol {

bool slicePayload(Command code, std::span<const std::uint8_t> payload,
                  std::vector<ReportPacket>& packets) {
    packets.clear();
    if (payload.empty() || payload.size() > kMaxSlicedPayload) {
        return false;
    }
    const std::size_t count = (payload.size() + kSliceLength - 1) / kSliceLength;
    packets.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = i * kSliceLength;
        const std::size_t length = std::min(kSliceLength, payload.size() - offset);
        ReportPacket packet(code);
        packet.setPacketNumber(static_cast<int>(i), static_cast<int>(count));
        packet.setSize(static_cast<std::uint8_t>(length));
        packet.setParameters(ReportPacket::kFirstParameter, payload.subspan(offset, length));
        packets.push_back(packet);
    }
    return true;
}

} // namespace corvane::protocol
