#include "protocol/codec/SensorTable.h"

#include <algorithm>

namespace corvane::protocol {

namespace {

constexpr int kAll = kAnyValue;

// Conversions shared by several sensors.
constexpr Conversion kPer100{{{kAll, 0, 100, 0}}};
constexpr Conversion kPer50MinusOne{{{kAll, 0, 50, -1}}};
constexpr Conversion kTimes50{{{kAll, 0, 50, 0}}};
constexpr Conversion kTimes50PlusFifty{{{kAll, 0, 50, 50}}};

// clang-format off
constexpr auto kSensors = std::to_array<SensorRow>({
    // code, dpiMin, dpiMax, max and min labels, slider scale and kind;
    // then DPI to units and units to DPI
    {0x04, 100,  8000,  "8000",  "100", 47,  0,
     {{{4000, 0, 100, 0}, {kAll, 4000, 500, 39}}},
     {{{39, 0, 100, 0}, {kAll, 31, 500, 0}}}},
    {0x05, 50,   12000, "12000", "50",  183, 0,
     {{{6400, 0, 50, 0}, {kAll, 6400, 100, 128}}},
     {{{128, 0, 50, 0}, {kAll, 64, 100, 0}}}},
    {0x10, 100,  4800,  "4800",  "100", 48,  0, kPer100, kPer100},
    // 10050..12000 go in steps of 100 and 13000 up in steps of 1000; a value in
    // between is sent as 12000 (a step of kAll makes that piece constant), never as a
    // unit that means 13000 or more.
    {0x11, 50,   24000, "24000", "50",  232, 0,
     {{{10000, 0, 50, 0}, {12000, 10000, 100, 200}, {12999, 0, kAll, 220},
       {kAll, 13000, 1000, 221}}},
     {{{199, 0, 50, 0}, {220, 100, 100, 0}, {kAll, 208, 1000, 0}}}},
    {0x12, 100,  4800,  "4800",  "100", 48,  0, kPer100, kPer100},
    {0x19, 100,  30000, "30000", "100", 174, 0,
     {{{16000, 0, 100, 0}, {kAll, 16000, 1000, 160}}},
     {{{159, 0, 100, 0}, {kAll, 144, 1000, 0}}}},
    {0x25, 100,  10000, "10000", "100", 60,  0,
     {{{5000, 0, 100, 0}, {kAll, 5000, 500, 50}}},
     {{{49, 0, 100, 0}, {kAll, 40, 500, 0}}}},
    // Not inverse: a value read back can be one step off the value sent.
    {0x26, 200,  10000, "10000", "200", 59,  0,
     {{{5000, 0, 100, -1}, {kAll, 5000, 500, 50}}},
     {{{49, 0, 100, 0}, {kAll, 39, 500, 0}}}},
    {0x35, 100,  16000, "16000", "100", 160, 0, kPer100, kPer100},
    {0x95, 100,  26000, "26000", "100", 520, 2, kPer50MinusOne, kTimes50PlusFifty},
    // The slider of this sensor ends at 32000 although values up to 38000 are sent;
    // a value read back is one step below the value sent.
    {0x96, 100,  38000, "32000", "100", 640, 2, kPer50MinusOne, kTimes50},
    // Every other code.
    {-1,   50,   26000, "26000", "50",  520, 0, kPer50MinusOne, kTimes50PlusFifty},
});
// clang-format on

const SensorRow& fallbackRow() {
    return kSensors.back();
}

const ConversionSegment& segmentFor(const Conversion& conversion, long long value) {
    for (const ConversionSegment& segment : conversion) {
        if (value <= segment.upTo) {
            return segment;
        }
    }
    return conversion.back(); // not reached: every conversion ends with kAnyValue
}

int clampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

constexpr auto kReportRates = std::to_array<ReportRate>({
    {125, 8},
    {250, 4},
    {500, 2},
    {1000, 1},
    {2000, 16},
    {4000, 32},
    {8000, 64},
});

struct RateClass {
    std::uint8_t rateClass;
    int capability;
};
constexpr std::array<RateClass, 3> kRateClasses{{{0x10, 5}, {0x20, 6}, {0x40, 7}}};
constexpr int kDefaultRateCapability = 4;

} // namespace

std::span<const SensorRow> sensorRows() {
    return kSensors;
}

const SensorRow& sensorRow(int sensorId) {
    const auto* it = std::find_if(kSensors.begin(), kSensors.end() - 1,
                                  [&](const SensorRow& row) { return row.sensorId == sensorId; });
    return it == kSensors.end() - 1 ? fallbackRow() : *it;
}

int dpiToDeviceCode(int sensorId, int dpi) {
    const ConversionSegment& s = segmentFor(sensorRow(sensorId).toUnits, dpi);
    return clampToInt((static_cast<long long>(dpi) - s.base) / s.step + s.offset);
}

int deviceCodeToDpi(int sensorId, int units) {
    const ConversionSegment& s = segmentFor(sensorRow(sensorId).toDpi, units);
    return clampToInt((static_cast<long long>(units) - s.base) * s.step + s.offset);
}

std::span<const ReportRate> reportRates() {
    return kReportRates;
}

bool isReportRateCode(int code) {
    return std::any_of(kReportRates.begin(), kReportRates.end(),
                       [&](const ReportRate& rate) { return rate.code == code; });
}

int rateCapabilityFromClass(std::uint8_t rateClass) {
    for (const RateClass& entry : kRateClasses) {
        if (entry.rateClass == rateClass) {
            return entry.capability;
        }
    }
    return kDefaultRateCapability;
}

SensorState::SensorState() : dpiMin(fallbackRow().dpiMin), dpiMax(fallbackRow().dpiMax) {}

SensorState::SensorState(int sensorId, int rateCapability)
    : sensorId(sensorId), rateCapability(rateCapability), dpiMin(sensorRow(sensorId).dpiMin),
      dpiMax(sensorRow(sensorId).dpiMax) {}

SensorState sensorStateFromInfo(std::span<const std::uint8_t> info) {
    const auto byteAt = [&](int b) {
        return static_cast<std::size_t>(b) < info.size() ? info[b] : std::uint8_t{0};
    };
    return SensorState(byteAt(kInfoSensorByte),
                       rateCapabilityFromClass(byteAt(kInfoRateClassByte)));
}

} // namespace corvane::protocol
