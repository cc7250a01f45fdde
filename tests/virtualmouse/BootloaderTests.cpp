#include <gtest/gtest.h>

#include "Host.h"

namespace corvane::vm::testing {
namespace {

using Packet = std::vector<std::uint8_t>;

Packet bootPacket(std::uint8_t length, const Packet& payload) {
    Packet packet(64, 0xFF);
    packet[0] = 0x05;
    packet[1] = 0x02;
    packet[2] = length;
    packet[3] = 0x00;
    std::copy(payload.begin(), payload.end(), packet.begin() + 4);
    return packet;
}

Packet startPacket() {
    return bootPacket(0x02, {0x01, 0xFF});
}
Packet endPacket() {
    return bootPacket(0x06, {0x02});
}

// A data packet for chunks `first`.. of `image`, the last chunk filled up with 0xFF.
Packet dataPacket(const Packet& image, std::uint16_t first, int chunks) {
    Packet payload;
    for (int c = 0; c < chunks; ++c) {
        const std::uint16_t sequence = static_cast<std::uint16_t>(first + c);
        Packet chunk{static_cast<std::uint8_t>(sequence & 0xFF),
                     static_cast<std::uint8_t>(sequence >> 8)};
        for (std::size_t i = 0; i < 16; ++i) {
            const std::size_t at = sequence * 16u + i;
            chunk.push_back(at < image.size() ? image[at] : 0xFF);
        }
        const std::uint16_t crc = crc16Modbus(chunk.data(), chunk.size());
        chunk.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        chunk.push_back(static_cast<std::uint8_t>(crc >> 8));
        payload.insert(payload.end(), chunk.begin(), chunk.end());
    }
    return bootPacket(static_cast<std::uint8_t>(20 * chunks), payload);
}

class Bootloader : public ::testing::Test {
protected:
    void SetUp() override {
        WiredMouseConfig config;
        config.withBootloader = true;
        mouse = bus.addWiredMouse(config);
        host = std::make_unique<Host>(bus, mouse->path(InterfaceKind::Bootloader));
        ASSERT_TRUE(host->isOpen());
    }

    VirtualMouse bus;
    std::shared_ptr<WiredMouse> mouse;
    std::unique_ptr<Host> host;
};

TEST(Crc16Modbus, MatchesTheCheckValueAndCoversTheSequenceNumber) {
    const std::uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(crc16Modbus(text, sizeof text), 0x4B37);
    std::uint8_t a[18] = {0, 0};
    std::uint8_t b[18] = {1, 0};
    EXPECT_NE(crc16Modbus(a, sizeof a), crc16Modbus(b, sizeof b));
}

TEST_F(Bootloader, KeepsAnImageSentInCheckedChunks) {
    Packet image(100);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7);
    }
    EXPECT_EQ(host->write(startPacket()), 64);
    EXPECT_EQ(host->write(dataPacket(image, 0, 3)), 64);
    EXPECT_EQ(host->write(dataPacket(image, 3, 3)), 64);
    EXPECT_EQ(host->write(dataPacket(image, 6, 1)), 64);
    EXPECT_EQ(host->write(endPacket()), 64);

    const BootloaderState state = mouse->bootloader();
    EXPECT_TRUE(state.started);
    EXPECT_TRUE(state.ended);
    EXPECT_EQ(state.packets, 5);
    EXPECT_EQ(state.crcErrors + state.sequenceErrors + state.malformedPackets, 0);
    Packet expected = image;
    expected.resize(112, 0xFF);
    EXPECT_EQ(state.image, expected);
    EXPECT_EQ(mouse->received(InterfaceKind::Bootloader).size(), 5u);

    std::array<std::uint8_t, 65> ack{};
    ASSERT_EQ(host->read(ack, 0, 64), 64);
    EXPECT_EQ(ack[0], 0x05);
    EXPECT_EQ(ack[4], 0x00);
}

TEST_F(Bootloader, RefusesChunksWithABadCrcOrSequence) {
    const Packet image(96, 0x5A);
    host->write(startPacket());
    Packet corrupt = dataPacket(image, 0, 3);
    corrupt[4 + 20 + 5] ^= 0x01; // a data byte of the second chunk
    host->write(corrupt);
    BootloaderState state = mouse->bootloader();
    EXPECT_EQ(state.crcErrors, 1);
    EXPECT_EQ(state.image.size(), 16u) << "the chunk before the bad one is kept";
    EXPECT_EQ(state.nextSequence, 1);

    host->write(dataPacket(image, 2, 1));
    state = mouse->bootloader();
    EXPECT_EQ(state.sequenceErrors, 1);
    EXPECT_EQ(state.image.size(), 16u);

    std::array<std::uint8_t, 65> ack{};
    host->read(ack, 0, 64); // start
    host->read(ack, 0, 64);
    EXPECT_EQ(ack[4], 0x01);
    host->read(ack, 0, 64);
    EXPECT_EQ(ack[4], 0x02);
}

TEST_F(Bootloader, RefusesPacketsOutOfShape) {
    const Packet image(48, 0x11);
    host->write(dataPacket(image, 0, 3)); // data before the start packet
    host->write(startPacket());
    Packet dirtyTail = dataPacket(image, 0, 1);
    dirtyTail[63] = 0x00;
    host->write(dirtyTail);
    host->write(bootPacket(0x15, {}));
    Packet wrongHeader = startPacket();
    wrongHeader[1] = 0x03;
    host->write(wrongHeader);

    const BootloaderState state = mouse->bootloader();
    EXPECT_EQ(state.malformedPackets, 4);
    EXPECT_TRUE(state.image.empty());
    EXPECT_FALSE(state.ended);
}

TEST_F(Bootloader, AFailingWriteIsNotReceived) {
    mouse->failNextWrites(1, InterfaceKind::Bootloader);
    EXPECT_EQ(host->write(startPacket()), -1);
    EXPECT_FALSE(mouse->bootloader().started);
    EXPECT_EQ(host->write(startPacket()), 64);
    EXPECT_TRUE(mouse->bootloader().started);
}

} // namespace
} // namespace corvane::vm::testing
