#include "virtualmouse/Bootloader.h"

namespace corvane::vm {

namespace {

constexpr std::size_t kPayloadIndex = 4;
constexpr std::size_t kChunkLength = 20;
constexpr std::size_t kChunkDataLength = 16;
constexpr std::size_t kChunkCrcOffset = 18;
constexpr std::uint8_t kStartLength = 0x02;
constexpr std::uint8_t kEndLength = 0x06;

bool tailIsFilled(const std::uint8_t* packet, std::size_t from) {
    for (std::size_t i = from; i < kBootPacketLength; ++i) {
        if (packet[i] != 0xFF) {
            return false;
        }
    }
    return true;
}

std::uint16_t little16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

BootStatus malformed(BootloaderState& state) {
    ++state.malformedPackets;
    return BootStatus::Malformed;
}

} // namespace

std::uint16_t crc16Modbus(const std::uint8_t* data, std::size_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

BootStatus acceptBootPacket(BootloaderState& state, const std::uint8_t* packet) {
    if (packet[0] != kBootReportId || packet[1] != 0x02 || packet[3] != 0x00) {
        return malformed(state);
    }
    const std::uint8_t length = packet[2];
    const std::uint8_t* payload = packet + kPayloadIndex;
    if (length == kStartLength) {
        if (payload[0] != 0x01 || !tailIsFilled(packet, kPayloadIndex + 1)) {
            return malformed(state);
        }
        // A new transfer: the image starts over, the counts go on.
        state.started = true;
        state.ended = false;
        state.nextSequence = 0;
        state.image.clear();
        ++state.packets;
        return BootStatus::Ok;
    }
    if (length == kEndLength) {
        if (!state.started || state.ended || payload[0] != 0x02 ||
            !tailIsFilled(packet, kPayloadIndex + 1)) {
            return malformed(state);
        }
        state.ended = true;
        ++state.packets;
        return BootStatus::Ok;
    }
    const std::size_t chunks = length / kChunkLength;
    if (length % kChunkLength != 0 || chunks < 1 || chunks > 3 || !state.started || state.ended ||
        !tailIsFilled(packet, kPayloadIndex + length)) {
        return malformed(state);
    }
    for (std::size_t c = 0; c < chunks; ++c) {
        const std::uint8_t* chunk = payload + c * kChunkLength;
        if (crc16Modbus(chunk, kChunkCrcOffset) != little16(chunk + kChunkCrcOffset)) {
            ++state.crcErrors;
            return BootStatus::BadCrc;
        }
        if (little16(chunk) != state.nextSequence) {
            ++state.sequenceErrors;
            return BootStatus::BadSequence;
        }
        state.image.insert(state.image.end(), chunk + 2, chunk + 2 + kChunkDataLength);
        ++state.nextSequence;
    }
    ++state.packets;
    return BootStatus::Ok;
}

} // namespace corvane::vm
