#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "protocol/codec/PerformanceCodec.h"

namespace corvane::protocol::testing {
namespace {

using Answer = std::array<std::uint8_t, 65>;

// Parameter bytes B4..B30 of a request.
std::vector<int> parameters(const ReportPacket& packet) {
    std::vector<int> bytes;
    for (int b = ReportPacket::kFirstParameter; b <= ReportPacket::kLastParameter; ++b) {
        bytes.push_back(packet.parameter(b));
    }
    return bytes;
}

int valueOf(const SettingValues& values, QStringView key, int missing = -1) {
    for (const SettingValue& value : values) {
        if (value.key == key) {
            return value.value;
        }
    }
    return missing;
}

TEST(DpiStages, StageCountAndActiveStageStayInTheirNibbles) {
    struct Case {
        int count;
        int active;
        std::uint8_t packed;
    };
    const Case cases[] = {
        {6, 2, 0x26}, {1, 0, 0x01},  {4, 3, 0x34},                 // ordinary values
        {0, 0, 0x01}, {-3, 0, 0x01}, {7, 0, 0x06},  {17, 1, 0x16}, // count limited to 1..6
        {6, 6, 0x56}, {3, 15, 0x23}, {2, -1, 0x02}, {6, 16, 0x56}, // active below count
        {0, 5, 0x01},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(packDpiStages(c.count, c.active), c.packed)
            << "count " << c.count << ", active " << c.active;
    }
}

TEST(SetDpi, BoundsConvertsAndWritesEachStageTwice) {
    DpiSettings settings;
    settings.count = 6;
    settings.active = 2;
    settings.values = {0, 800, 5000, 38500, 100, -20};
    const ReportPacket packet = encodeSetDpi(settings, SensorState(0x96));
    EXPECT_EQ(packet.command(), Command::SetDpi);
    EXPECT_EQ(packet.size(), 0x25);
    EXPECT_EQ(packet.packetNumber(), 0x01);
    EXPECT_EQ(packet.writeLength(), 33u);
    // 0 and -20 go up to 100 DPI (1 unit); 38500 comes down to 38000 (759 units).
    const std::vector<int> expected{0x26, 1,    0, 1, 0, 15, 0, 15, 0, 99, 0, 99, 0, 0xF7,
                                    2,    0xF7, 2, 1, 0, 1,  0, 1,  0, 1,  0, 0,  0};
    EXPECT_EQ(parameters(packet), expected);
}

TEST(SetDpi, ZeroWithSensor25IsSentAsOneUnit) {
    DpiSettings settings;
    settings.count = 1;
    const ReportPacket packet = encodeSetDpi(settings, SensorState(0x25));
    EXPECT_EQ(packet.parameter(5), 1);
    EXPECT_EQ(packet.parameter(7), 1);
}

TEST(SetDpiColors, SendsEachColourRedFirst) {
    const DpiColors colors{0x0000FF, 0xFF0000, 0x00FF00, 0x123456, 0x7F010203, -1};
    const ReportPacket packet = encodeSetDpiColors(colors);
    EXPECT_EQ(packet.size(), 0x12);
    EXPECT_EQ(packet.writeLength(), 65u);
    const std::vector<int> expected{0xFF, 0,    0,    0,    0,    0xFF, 0,    0xFF, 0,
                                    0x56, 0x34, 0x12, 0x03, 0x02, 0x01, 0xFF, 0xFF, 0xFF,
                                    0,    0,    0,    0,    0,    0,    0,    0,    0};
    EXPECT_EQ(parameters(packet), expected);
}

TEST(SetSensorAndPower, CarryTheirSettings) {
    const ReportPacket sensor = encodeSetSensor({2, 12});
    EXPECT_EQ(sensor.size(), 0x05);
    EXPECT_EQ(sensor.writeLength(), 65u);
    EXPECT_EQ(sensor.parameter(4), 2);
    EXPECT_EQ(sensor.parameter(5), 1) << "bit 8";
    EXPECT_EQ(sensor.parameter(6), 1) << "bit 4";
    const ReportPacket onlyBit16 = encodeSetSensor({1, 16 + 32 + 1});
    EXPECT_EQ(onlyBit16.parameter(5), 0);
    EXPECT_EQ(onlyBit16.parameter(6), 0);
    EXPECT_EQ(encodeSetSensor({1, 8}).parameter(6), 0);
    EXPECT_EQ(encodeSetSensor({1, 4}).parameter(5), 0);

    const ReportPacket power = encodeSetPower({36, 1, 0, 12});
    EXPECT_EQ(power.size(), 0x04);
    EXPECT_EQ(power.writeLength(), 65u);
    EXPECT_EQ(power.parameter(4), 36);
    EXPECT_EQ(power.parameter(5), 1);
    EXPECT_EQ(power.parameter(6), 0);
    EXPECT_EQ(power.parameter(7), 12);
    EXPECT_EQ(power.parameter(8), 0);

    const ReportPacket rate = encodeSetReportRate(16);
    EXPECT_EQ(rate.size(), 0x01);
    EXPECT_EQ(rate.writeLength(), 65u);
    EXPECT_EQ(rate.parameter(4), 16);
}

TEST(GetDpi, DecodesStagesWithTheCurrentSensor) {
    Answer answer{};
    answer[4] = 0x25; // active stage 2 of 5
    const std::uint16_t units[6] = {16, 200, 221, 232, 0, 229};
    for (int k = 0; k < 6; ++k) {
        answer[5 + 4 * k] = static_cast<std::uint8_t>(units[k]);
        answer[7 + 4 * k] = static_cast<std::uint8_t>(units[k]);
    }
    answer[5] = 99; // stage 0 is read from its Y value
    const SettingValues values = decodeDpi(answer, SensorState(0x11));
    EXPECT_EQ(valueOf(values, keys::dpiCount), 5);
    EXPECT_EQ(valueOf(values, keys::dpiFlag), 5);
    EXPECT_EQ(valueOf(values, keys::dpiIndex), 2);
    EXPECT_EQ(valueOf(values, keys::dpiValue[0]), 800);
    EXPECT_EQ(valueOf(values, keys::dpiValue[1]), 10000);
    EXPECT_EQ(valueOf(values, keys::dpiValue[2]), 13000);
    EXPECT_EQ(valueOf(values, keys::dpiValue[3]), 24000);
    EXPECT_EQ(valueOf(values, keys::dpiValue[4]), -1) << "0 DPI is not stored";
    EXPECT_EQ(valueOf(values, keys::dpiValue[5]), 21000);
}

TEST(GetDpi, ReadBackValuesFollowTheirSensor) {
    Answer answer{};
    answer[4] = 0x01;
    answer[5] = answer[7] = 0xF7; // 759
    answer[6] = answer[8] = 0x02;
    answer[9] = answer[11] = 49;
    EXPECT_EQ(valueOf(decodeDpi(answer, SensorState(0x96)), keys::dpiValue[0]), 37950);
    EXPECT_EQ(valueOf(decodeDpi(answer, SensorState(0x26)), keys::dpiValue[1]), 4900);
    // Zero units with sensor 0x25 is 0 DPI: below 50, not stored.
    EXPECT_EQ(valueOf(decodeDpi(answer, SensorState(0x25)), keys::dpiValue[2]), -1);
}

TEST(GetDpi, NonsenseStageCountsAreNotStored) {
    for (std::uint8_t stages : {0x00, 0x07, 0x0F, 0x33, 0x52}) {
        Answer answer{};
        answer[4] = stages;
        const SettingValues values = decodeDpi(answer, SensorState(0x11));
        EXPECT_EQ(valueOf(values, keys::dpiCount), -1) << int(stages);
        EXPECT_EQ(valueOf(values, keys::dpiIndex), -1) << int(stages);
        EXPECT_EQ(valueOf(values, keys::dpiFlag), -1) << int(stages);
    }
}

TEST(GetDpiColors, ColoursComeBackAsStored) {
    const DpiColors colors{0x0000FF, 0xFF0000, 0x00FF00, 0x123456, 0x010203, 0xFFFFFF};
    const ReportPacket request = encodeSetDpiColors(colors);
    Answer answer{};
    for (int b = 4; b <= 30; ++b) {
        answer[b] = request.parameter(b);
    }
    const SettingValues values = decodeDpiColors(answer);
    ASSERT_EQ(values.size(), 6u);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(values[k], (SettingValue{keys::dpiColor[k], colors[k]}));
    }
}

TEST(GetSensor, StoresBitsEightAndFourAndKeepsTheOthers) {
    Answer answer{};
    answer[4] = 2;
    answer[5] = 1;
    answer[6] = 0;
    SettingValues values = decodeSensor(answer, 0);
    EXPECT_EQ(valueOf(values, keys::liftoffHeight), 2);
    EXPECT_EQ(valueOf(values, keys::sensorFlag), 8);
    // Bit 16 (and the default's other bits) never reach the mouse; they stay.
    values = decodeSensor(answer, 53);
    EXPECT_EQ(valueOf(values, keys::sensorFlag), 57);
    answer[5] = 2; // only 1 means on
    answer[6] = 1;
    EXPECT_EQ(valueOf(decodeSensor(answer, 16 + 8), keys::sensorFlag), 16 + 4);
}

TEST(GetPowerAndRate, DecodeTheirBytes) {
    Answer answer{};
    answer[4] = 60;
    answer[5] = 0;
    answer[6] = 1;
    answer[7] = 20;
    const SettingValues power = decodePower(answer);
    EXPECT_EQ(valueOf(power, keys::sleepLight), 60);
    EXPECT_EQ(valueOf(power, keys::moveWakeup), 0);
    EXPECT_EQ(valueOf(power, keys::moveCloseLight), 1);
    EXPECT_EQ(valueOf(power, keys::buttonResponseTime), 20);

    answer[4] = 32;
    const SettingValues rate = decodeReportRate(answer);
    EXPECT_EQ(valueOf(rate, keys::reportRate), 32);
    EXPECT_EQ(valueOf(rate, keys::reportRateWireless), 32);
    answer[4] = 3;
    EXPECT_TRUE(decodeReportRate(answer).empty()) << "no rate has code 3";
}

} // namespace
} // namespace corvane::protocol::testing
