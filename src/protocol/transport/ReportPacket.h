#pragma once
// protocol/transport: command reports and their transaction; includes no other room.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "hid/ReportExchange.h"
#include "protocol/transport/Commands.h"

namespace corvane::protocol {

// One command report in its host buffer of 65 bytes.
//
// Request form (before transact): byte 0 is the report ID 0x00 and byte k is B(k-1):
// the command at byte 1, the packet number B2 at byte 3, the size byte B3 at byte 4,
// parameters B4..B30 at bytes 5..31, the checksum B31 at byte 32.
// Answer form (after transact): byte k is B(k): the status at byte 1, data from byte 4.
//
// Body positions are written B-indices throughout: setParameter(4, x) sets B4.
class ReportPacket {
public:
    static constexpr int kFirstParameter = 4;
    static constexpr int kLastParameter = 30;
    static constexpr std::size_t kParameterCount = kLastParameter - kFirstParameter + 1;

    // A request of `code` with the packet number (0x01 for a write, 0x00 for a read),
    // size byte and write length of the command table; every other byte zero.
    explicit ReportPacket(Command code);

    // --- request form ---
    Command command() const { return static_cast<Command>(buffer_[1]); }
    void setPacketNumber(int index, int count); // B2 = (index << 4) | count
    std::uint8_t packetNumber() const { return buffer_[3]; }
    void setSize(std::uint8_t size) { buffer_[4] = size; }
    std::uint8_t size() const { return buffer_[4]; }
    // B(b) for b in 4..30; false (and nothing written) outside that range.
    bool setParameter(int b, std::uint8_t value);
    bool setParameter16(int b, std::uint16_t value); // little-endian at B(b), B(b+1)
    // Copies `values` to B(first) onward; false when they would pass B30.
    bool setParameters(int first, std::span<const std::uint8_t> values);
    std::uint8_t parameter(int b) const;
    // The sum of B4..B30 modulo 256, and storing it in B31 (transact does this itself).
    std::uint8_t checksum() const { return hid::requestChecksum(buffer_.data()); }
    void storeChecksum() { hid::storeRequestChecksum(buffer_.data()); }

    // --- answer form ---
    std::uint8_t answerByte(int b) const; // B(b), b in 0..64
    std::uint8_t status() const { return buffer_[hid::kAnswerStatusIndex]; }
    std::uint16_t answer16(int b) const; // little-endian B(b), B(b+1)

    // --- transport ---
    std::size_t writeLength() const { return writeLength_; }
    bool setWriteLength(std::size_t length); // 33 or 65
    std::uint8_t* data() { return buffer_.data(); }
    const std::uint8_t* data() const { return buffer_.data(); }
    // One transaction with the current command interface (see transact()).
    bool transact();

private:
    std::array<std::uint8_t, hid::kReportBufferSize> buffer_{};
    std::size_t writeLength_ = hid::kShortReportLength;
};

} // namespace corvane::protocol
