#pragma once
// The mouse bootloader's packets: 64 bytes, report ID 0x05, then 0x02, the number of
// meaningful bytes after byte 3, 0x00 and the payload; every other byte is 0xFF. Data
// packets carry one to three chunks of 20 bytes: a little-endian sequence number counted
// over the whole image, 16 image bytes and the CRC-16/MODBUS of those 18 bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane::update {

inline constexpr std::size_t kBootPacketSize = 64;
using BootPacket = std::array<std::uint8_t, kBootPacketSize>;

inline constexpr std::size_t kChunkImageBytes = 16;
inline constexpr std::size_t kChunksPerPacket = 3;
inline constexpr std::size_t kPacketImageBytes = kChunkImageBytes * kChunksPerPacket;
// Chunks are numbered with 16 bits: 65536 chunks of 16 bytes is the largest image the
// bootloader can take without the numbers wrapping over earlier chunks.
inline constexpr std::size_t kMaxImageBytes = std::size_t{65536} * kChunkImageBytes;

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
std::uint16_t crc16Modbus(const std::uint8_t* data, std::size_t length);

BootPacket bootStartPacket();
BootPacket bootEndPacket();

// The data packet of `chunks` (1..3) chunks from chunk number `firstChunk` of `image`;
// bytes beyond the image's end stay 0xFF (and are covered by the CRC).
BootPacket bootDataPacket(std::span<const std::uint8_t> image, std::size_t firstChunk,
                          std::size_t chunks);

// Whether an image of n bytes can be sent: 1 byte up to kMaxImageBytes.
bool isImageSizeAllowed(std::size_t n);

} // namespace corvane::update
