#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "protocol/codec/LightingCodec.h"

namespace corvane::protocol::testing {
namespace {

store::LightEffect effect(int mode, int brightness, int speed) {
    store::LightEffect light;
    light.mode = mode;
    light.brightness = brightness;
    light.speed = speed;
    light.colorValues = {255, 65280, 16711680, 0x123456, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
    light.direction = 3; // never sent
    light.colorful = 1;
    return light;
}

std::vector<int> parameters(const ReportPacket& packet) {
    std::vector<int> bytes;
    for (int b = 4; b <= 30; ++b) {
        bytes.push_back(packet.parameter(b));
    }
    return bytes;
}

std::vector<int> padded(std::vector<int> bytes) {
    bytes.resize(27, 0);
    return bytes;
}

TEST(BrightnessAndSpeed, EachKeepsToItsNibble) {
    struct Case {
        int brightness;
        int speed;
        std::uint8_t packed;
    };
    const Case cases[] = {
        {3, 2, 0x32},  {0, 0, 0x00},   {15, 15, 0xFF}, {4, 17, 0x4F}, // speed 17 stays 15
        {16, 2, 0xF2}, {255, 0, 0xF0}, {-1, 3, 0x03},  {2, -8, 0x20},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(packBrightnessSpeed(c.brightness, c.speed), c.packed)
            << c.brightness << ", " << c.speed;
    }
}

TEST(SetLighting, LaysOutEachMode) {
    struct Case {
        int mode;
        std::uint8_t size;
        std::vector<int> parameters;
    };
    const Case cases[] = {
        {0, 0x02, {0, 0x32}},
        {1, 0x03, {1, 0x32, 0}},
        {2, 0x18, {2,    0x32, 0x07, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF,
                   0x56, 0x34, 0x12, 0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}},
        {3, 0x05, {3, 0x32, 0xFF, 0x00, 0x00}},
        {4, 0x02, {4, 0x32}},
        {5, 0x02, {5, 0x32}},
        {6, 0x00, {}},
        {-1, 0x00, {}},
    };
    for (const Case& c : cases) {
        const ReportPacket packet = encodeSetLighting(effect(c.mode, 3, 2));
        EXPECT_EQ(packet.command(), Command::SetLighting);
        EXPECT_EQ(packet.size(), c.size) << "mode " << c.mode;
        EXPECT_EQ(packet.writeLength(), 65u);
        EXPECT_EQ(packet.packetNumber(), 0x01);
        EXPECT_EQ(parameters(packet), padded(c.parameters)) << "mode " << c.mode;
    }
}

TEST(SetLighting, ASpeedAboveFifteenLeavesTheBrightnessAlone) {
    const ReportPacket packet = encodeSetLighting(effect(1, 2, 31));
    EXPECT_EQ(packet.parameter(5), 0x2F);
}

TEST(LightControl, TwoRequests) {
    const ReportPacket restore = encodeLightControl(LightControlParameter::Restore);
    EXPECT_EQ(restore.command(), Command::LightControl);
    EXPECT_EQ(restore.size(), 0x01);
    EXPECT_EQ(restore.parameter(4), 0x01);
    EXPECT_EQ(restore.writeLength(), 33u);
    const ReportPacket reset = encodeLightControl(LightControlParameter::Reset);
    EXPECT_EQ(reset.size(), 0x04);
    EXPECT_EQ(reset.parameter(4), 0x42);
    EXPECT_EQ(reset.writeLength(), 33u);
}

TEST(GetLighting, SplitsBrightnessAndSpeed) {
    std::array<std::uint8_t, 65> answer{};
    answer[4] = 3;
    answer[5] = 0x32;
    EXPECT_EQ(decodeLighting(answer), (LightingState{3, 3, 2}));
    answer[4] = 0;
    answer[5] = 0xF0;
    EXPECT_EQ(decodeLighting(answer), (LightingState{0, 15, 0}));
}

} // namespace
} // namespace corvane::protocol::testing
