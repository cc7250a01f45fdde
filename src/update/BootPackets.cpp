#include "update/BootPackets.h"

#include <algorithm>

namespace corvane::update {

namespace {

constexpr std::uint8_t kReportId = 0x05;
constexpr std::uint8_t kPacketKind = 0x02;
constexpr std::size_t kPayloadOffset = 4;
constexpr std::size_t kChunkSize = 20;
constexpr std::size_t kChunkCrcOffset = 18;

BootPacket emptyPacket(std::uint8_t meaningful) {
    BootPacket packet;
    packet.fill(0xFF);
    packet[0] = kReportId;
    packet[1] = kPacketKind;
    packet[2] = meaningful;
    packet[3] = 0x00;
    return packet;
}

} // namespace

std::uint16_t crc16Modbus(const std::uint8_t* data, std::size_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            const bool low = crc & 1;
            crc >>= 1;
            if (low) {
                crc ^= 0xA001;
            }
        }
    }
    return crc;
}

BootPacket bootStartPacket() {
    BootPacket packet = emptyPacket(0x02);
    packet[kPayloadOffset] = 0x01;
    return packet; // the second payload byte is 0xFF already
}

BootPacket bootEndPacket() {
    BootPacket packet = emptyPacket(0x06);
    packet[kPayloadOffset] = 0x02;
    return packet;
}

BootPacket bootDataPacket(std::span<const std::uint8_t> image, std::size_t firstChunk,
                          std::size_t chunks) {
    chunks = std::clamp<std::size_t>(chunks, 1, kChunksPerPacket);
    BootPacket packet = emptyPacket(static_cast<std::uint8_t>(kChunkSize * chunks));
    for (std::size_t c = 0; c < chunks; ++c) {
        std::uint8_t* chunk = packet.data() + kPayloadOffset + c * kChunkSize;
        const std::size_t sequence = firstChunk + c;
        chunk[0] = static_cast<std::uint8_t>(sequence & 0xFF);
        chunk[1] = static_cast<std::uint8_t>((sequence >> 8) & 0xFF);
        const std::size_t from = sequence * kChunkImageBytes;
        if (from < image.size()) {
            const std::size_t count = std::min(kChunkImageBytes, image.size() - from);
            std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(from), count, chunk + 2);
        }
        const std::uint16_t crc = crc16Modbus(chunk, kChunkCrcOffset);
        chunk[kChunkCrcOffset] = static_cast<std::uint8_t>(crc & 0xFF);
        chunk[kChunkCrcOffset + 1] = static_cast<std::uint8_t>(crc >> 8);
    }
    return packet;
}

bool isImageSizeAllowed(std::size_t n) {
    return n >= 1 && n <= kMaxImageBytes;
}

} // namespace corvane::update
