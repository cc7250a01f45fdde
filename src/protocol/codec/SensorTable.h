#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <span>

namespace corvane::protocol {

// One piece of a piecewise-linear conversion, valid for inputs up to `upTo`:
//   DPI to units:  (d - base) / step + offset   (integer division)
//   units to DPI:  (v - base) * step + offset
struct ConversionSegment {
    int upTo;
    int base;
    int step;
    int offset;
};

inline constexpr int kAnyValue = std::numeric_limits<int>::max();
inline constexpr std::size_t kMaxSegments = 4;

// A conversion: its segments in rising order, the last one valid up to kAnyValue.
using Conversion = std::array<ConversionSegment, kMaxSegments>;

// What the mouse's sensor code (GetInfo B10) selects: the DPI limits that bound every
// value sent, the DPI slider's end labels, scale and kind, and the two conversions
// between DPI values and the sensor's own units.
struct SensorRow {
    int sensorId; // -1 for the row that serves every code not listed
    int dpiMin;
    int dpiMax;
    const char* maxLabel;
    const char* minLabel;
    int sliderScale;
    int sliderKind; // 2 for the fine-step sensors; 0 leaves the slider's kind as it is
    Conversion toUnits;
    Conversion toDpi;
};

// Every sensor the program knows, followed by the fallback row.
std::span<const SensorRow> sensorRows();
// The row of a sensor code; the fallback row for a code not listed.
const SensorRow& sensorRow(int sensorId);

// DPI value to sensor units and back, with the rules of the sensor's row. The two are
// not always inverse: for some sensors a value read back differs by one step.
int dpiToDeviceCode(int sensorId, int dpi);
int deviceCodeToDpi(int sensorId, int units);

// The report-rate codes the mouse takes, slowest rate first.
struct ReportRate {
    int hertz;
    int code;
};
std::span<const ReportRate> reportRates();
bool isReportRateCode(int code);

// GetInfo B11 names the code of the fastest rate the mouse offers: 0x10, 0x20 and 0x40
// give 5, 6 and 7 selectable rates, anything else 4.
int rateCapabilityFromClass(std::uint8_t rateClass);

// The sensor state a successful GetInfo sets. Before the first one, the fallback row's
// limits apply and the rate capability is 0 (not known yet).
struct SensorState {
    int sensorId = -1;
    int rateCapability = 0;
    int dpiMin;
    int dpiMax;

    SensorState();
    explicit SensorState(int sensorId, int rateCapability = 0);
};

// GetInfo answer offsets (answer form).
inline constexpr int kInfoSensorByte = 10;
inline constexpr int kInfoRateClassByte = 11;

// The sensor state of a GetInfo answer (answer form, B(k) at index k).
SensorState sensorStateFromInfo(std::span<const std::uint8_t> info);

} // namespace corvane::protocol
