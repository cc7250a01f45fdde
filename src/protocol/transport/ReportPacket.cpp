#include "protocol/transport/ReportPacket.h"

#include <algorithm>

#include "protocol/transport/Transaction.h"

namespace corvane::protocol {

namespace {

// Request buffer position of body byte B(b).
constexpr std::size_t requestIndex(int b) {
    return static_cast<std::size_t>(b) + 1;
}

bool isParameter(int b) {
    return b >= ReportPacket::kFirstParameter && b <= ReportPacket::kLastParameter;
}

} // namespace

ReportPacket::ReportPacket(Command code) {
    buffer_[0] = hid::kReportId;
    buffer_[hid::kRequestCommandIndex] = toByte(code);
    // A code outside the table is sent as a plain 33-byte write with size 0.
    const CommandInfo* info = findCommand(toByte(code));
    const bool read = info && info->kind == CommandKind::Read;
    buffer_[hid::kRequestPacketIndex] = read ? 0x00 : 0x01;
    buffer_[hid::kRequestSizeIndex] = info ? info->size : 0x00;
    writeLength_ = info ? info->writeLength : hid::kShortReportLength;
}

void ReportPacket::setPacketNumber(int index, int count) {
    buffer_[hid::kRequestPacketIndex] =
        static_cast<std::uint8_t>(((index & 0x0F) << 4) | (count & 0x0F));
}

bool ReportPacket::setParameter(int b, std::uint8_t value) {
    if (!isParameter(b)) {
        return false;
    }
    buffer_[requestIndex(b)] = value;
    return true;
}

bool ReportPacket::setParameter16(int b, std::uint16_t value) {
    if (!isParameter(b) || !isParameter(b + 1)) {
        return false;
    }
    buffer_[requestIndex(b)] = static_cast<std::uint8_t>(value & 0xFF);
    buffer_[requestIndex(b + 1)] = static_cast<std::uint8_t>(value >> 8);
    return true;
}

bool ReportPacket::setParameters(int first, std::span<const std::uint8_t> values) {
    if (values.empty()) {
        return isParameter(first);
    }
    const int last = first + static_cast<int>(values.size()) - 1;
    if (!isParameter(first) || !isParameter(last)) {
        return false;
    }
    std::copy(values.begin(), values.end(), buffer_.begin() + requestIndex(first));
    return true;
}

std::uint8_t ReportPacket::parameter(int b) const {
    return isParameter(b) ? buffer_[requestIndex(b)] : 0;
}

std::uint8_t ReportPacket::answerByte(int b) const {
    return b >= 0 && static_cast<std::size_t>(b) < buffer_.size() ? buffer_[b] : 0;
}

std::uint16_t ReportPacket::answer16(int b) const {
    return static_cast<std::uint16_t>(answerByte(b) | (answerByte(b + 1) << 8));
}

bool ReportPacket::setWriteLength(std::size_t length) {
    if (length != hid::kShortReportLength && length != hid::kLongReportLength) {
        return false;
    }
    writeLength_ = length;
    return true;
}

bool ReportPacket::transact() {
    return protocol::transact(buffer_.data(), writeLength_);
}

} // namespace corvane::protocol
