#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>

#include "protocol/codec/SensorTable.h"

namespace corvane::protocol::testing {
namespace {

struct ConversionCase {
    int sensor;
    int dpi;
    int units;
};

// DPI to units, at the ends and edges of every piece of every sensor's rule.
constexpr ConversionCase kToUnits[] = {
    {0x04, 100, 1},     {0x04, 4000, 40},   {0x04, 4500, 40},   {0x04, 8000, 47},
    {0x05, 50, 1},      {0x05, 6400, 128},  {0x05, 6500, 129},  {0x05, 12000, 184},
    {0x10, 100, 1},     {0x10, 4800, 48},   {0x12, 150, 1},     {0x12, 4800, 48},
    {0x11, 50, 1},      {0x11, 10000, 200}, {0x11, 10100, 201}, {0x11, 12000, 220},
    {0x11, 12500, 220}, {0x11, 12999, 220}, {0x11, 13000, 221}, {0x11, 24000, 232},
    {0x19, 100, 1},     {0x19, 16000, 160}, {0x19, 17000, 161}, {0x19, 30000, 174},
    {0x25, 100, 1},     {0x25, 5000, 50},   {0x25, 5500, 51},   {0x25, 10000, 60},
    {0x26, 200, 1},     {0x26, 5000, 49},   {0x26, 5500, 51},   {0x26, 10000, 60},
    {0x35, 100, 1},     {0x35, 16000, 160}, {0x95, 100, 1},     {0x95, 26000, 519},
    {0x96, 100, 1},     {0x96, 38000, 759}, {0x00, 50, 0},      {0x00, 26000, 519},
    {0x77, 1000, 19},
};

// Units to DPI, at the edges of every piece.
constexpr ConversionCase kToDpi[] = {
    {0x04, 3900, 39},   {0x04, 4500, 40},   {0x04, 8000, 47},   {0x05, 6400, 128},
    {0x05, 6500, 129},  {0x05, 12000, 184}, {0x10, 4800, 48},   {0x12, 100, 1},
    {0x11, 9950, 199},  {0x11, 10000, 200}, {0x11, 12000, 220}, {0x11, 13000, 221},
    {0x11, 24000, 232}, {0x19, 15900, 159}, {0x19, 16000, 160}, {0x19, 30000, 174},
    {0x25, 0, 0},       {0x25, 4900, 49},   {0x25, 5000, 50},   {0x25, 10000, 60},
    {0x26, 4900, 49},   {0x26, 5500, 50},   {0x26, 10500, 60},  {0x35, 16000, 160},
    {0x95, 100, 1},     {0x95, 26000, 519}, {0x96, 50, 1},      {0x96, 37950, 759},
    {0x00, 50, 0},      {0x00, 26000, 519}, {0x77, 1000, 19},
};

TEST(SensorTable, ConvertsDpiToUnitsForEverySensor) {
    for (const ConversionCase& c : kToUnits) {
        EXPECT_EQ(dpiToDeviceCode(c.sensor, c.dpi), c.units)
            << "sensor 0x" << std::hex << c.sensor << std::dec << ", " << c.dpi << " DPI";
    }
}

TEST(SensorTable, ConvertsUnitsToDpiForEverySensor) {
    for (const ConversionCase& c : kToDpi) {
        EXPECT_EQ(deviceCodeToDpi(c.sensor, c.units), c.dpi)
            << "sensor 0x" << std::hex << c.sensor << std::dec << ", " << c.units << " units";
    }
}

TEST(SensorTable, EverySensorRowIsCovered) {
    std::set<int> covered;
    for (const ConversionCase& c : kToUnits) {
        covered.insert(c.sensor);
    }
    for (const SensorRow& row : sensorRows()) {
        if (row.sensorId >= 0) {
            EXPECT_TRUE(covered.count(row.sensorId)) << "sensor 0x" << std::hex << row.sensorId;
        }
    }
}

// Within each sensor's limits a value sent and read back lands at most one sensor step
// away, and fits the 16-bit field.
TEST(SensorTable, AValueSentAndReadBackStaysWithinOneStep) {
    for (const SensorRow& row : sensorRows()) {
        const int sensor = row.sensorId < 0 ? 0x00 : row.sensorId;
        for (int dpi = row.dpiMin; dpi <= row.dpiMax; dpi += 50) {
            const int units = dpiToDeviceCode(sensor, dpi);
            ASSERT_GE(units, 0);
            ASSERT_LE(units, 0xFFFF);
            const int back = deviceCodeToDpi(sensor, units);
            EXPECT_LE(std::abs(back - dpi), 1000)
                << "sensor 0x" << std::hex << sensor << std::dec << ": " << dpi
                << " DPI is sent as " << units << " units, which read back as " << back;
        }
    }
}

TEST(SensorTable, ReadBackDiffersByOneStepOnlyForTheSensorsThatSaySo) {
    // 0x26: 5000 DPI goes out as 49 units, which read back as 4900.
    EXPECT_EQ(dpiToDeviceCode(0x26, 5000), 49);
    EXPECT_EQ(deviceCodeToDpi(0x26, 49), 4900);
    // 0x96: 38000 DPI goes out as 759 units, which read back as 37950.
    EXPECT_EQ(dpiToDeviceCode(0x96, 38000), 759);
    EXPECT_EQ(deviceCodeToDpi(0x96, 759), 37950);
    // The neighbouring sensors with the same steps round-trip.
    EXPECT_EQ(deviceCodeToDpi(0x25, dpiToDeviceCode(0x25, 5000)), 5000);
    EXPECT_EQ(deviceCodeToDpi(0x95, dpiToDeviceCode(0x95, 26000)), 26000);
}

TEST(SensorTable, UnknownSensorsUseTheFallbackRow) {
    const SensorRow& unknown = sensorRow(0x77);
    EXPECT_EQ(unknown.sensorId, -1);
    EXPECT_EQ(unknown.dpiMin, 50);
    EXPECT_EQ(unknown.dpiMax, 26000);
    EXPECT_EQ(&sensorRow(-1), &unknown);
    EXPECT_EQ(sensorRow(0x96).dpiMax, 38000);
    EXPECT_STREQ(sensorRow(0x96).maxLabel, "32000");
    EXPECT_EQ(sensorRow(0x96).sliderKind, 2);
    EXPECT_EQ(sensorRow(0x26).dpiMin, 200);
}

TEST(SensorTable, RateClassGivesTheNumberOfRates) {
    struct Case {
        std::uint8_t rateClass;
        int capability;
    };
    for (const Case& c : {Case{0x10, 5}, Case{0x20, 6}, Case{0x40, 7}, Case{0x01, 4}, Case{0x00, 4},
                          Case{0x30, 4}, Case{0xFF, 4}}) {
        EXPECT_EQ(rateCapabilityFromClass(c.rateClass), c.capability)
            << "class 0x" << std::hex << int(c.rateClass);
    }
}

TEST(SensorTable, ReportRateCodesAreTheSevenRates) {
    const std::array<int, 7> codes{8, 4, 2, 1, 16, 32, 64};
    ASSERT_EQ(reportRates().size(), codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(reportRates()[i].code, codes[i]);
        EXPECT_TRUE(isReportRateCode(codes[i]));
    }
    EXPECT_EQ(reportRates().front().hertz, 125);
    EXPECT_EQ(reportRates().back().hertz, 8000);
    for (int code : {0, 3, 5, 128, -1}) {
        EXPECT_FALSE(isReportRateCode(code)) << code;
    }
}

TEST(SensorTable, SensorStateComesFromTheInfoAnswer) {
    std::array<std::uint8_t, 65> info{};
    info[kInfoSensorByte] = 0x96;
    info[kInfoRateClassByte] = 0x40;
    const SensorState state = sensorStateFromInfo(info);
    EXPECT_EQ(state.sensorId, 0x96);
    EXPECT_EQ(state.rateCapability, 7);
    EXPECT_EQ(state.dpiMin, 100);
    EXPECT_EQ(state.dpiMax, 38000);

    const SensorState before;
    EXPECT_EQ(before.rateCapability, 0) << "not read yet";
    EXPECT_EQ(before.dpiMin, 50);
    EXPECT_EQ(before.dpiMax, 26000);

    const std::array<std::uint8_t, 4> cut{0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(sensorStateFromInfo(cut).rateCapability, 4) << "a short answer reads as zeros";
}

} // namespace
} // namespace corvane::protocol::testing
