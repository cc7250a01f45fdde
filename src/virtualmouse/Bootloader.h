#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane::vm {

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
std::uint16_t crc16Modbus(const std::uint8_t* data, std::size_t length);

inline constexpr std::size_t kBootPacketLength = 64;
inline constexpr std::uint8_t kBootReportId = 0x05;

// What the firmware loader has taken in: the image since the last start packet, and
// counts of every packet since the device was made.
struct BootloaderState {
    bool started = false;
    bool ended = false;
    std::uint16_t nextSequence = 0;
    std::vector<std::uint8_t> image; // 16 bytes per accepted chunk, padding included
    int packets = 0;                 // packets accepted (start, data and end)
    int crcErrors = 0;
    int sequenceErrors = 0;
    int malformedPackets = 0;
};

// The loader's verdict on a packet, sent back as byte 4 of its acknowledgement.
enum class BootStatus : std::uint8_t { Ok = 0, BadCrc = 1, BadSequence = 2, Malformed = 3 };

// Takes one 64-byte packet: start (byte 2 = 0x02, payload 01 FF), data (byte 2 = 0x14,
// 0x28 or 0x3C: one to three 20-byte chunks of sequence number, 16 image bytes and
// CRC) or end (byte 2 = 0x06, payload 02). Bytes 0, 1, 3 must be 05 02 00 and every
// byte after the meaningful ones 0xFF. A data packet stops at its first chunk whose
// CRC or sequence number is wrong; the chunks before it are kept.
BootStatus acceptBootPacket(BootloaderState& state, const std::uint8_t* packet);

} // namespace corvane::vm
