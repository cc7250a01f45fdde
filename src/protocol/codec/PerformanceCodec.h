#pragma once
// protocol/codec: encoders, decoders and their tables; includes transport/ only.

#include <array>
#include <cstdint>

#include "protocol/codec/SensorTable.h"
#include "protocol/transport/AnswerBytes.h"
#include "protocol/transport/ReportPacket.h"
#include "protocol/transport/SettingValues.h"

namespace corvane::protocol {

// The performance settings of a profile as the write commands carry them, and the
// decoding of the read commands' answers into settings. Pure: no store, no I/O.

struct DpiSettings {
    int count = 0;  // dpi_count
    int active = 0; // dpi_index, 0-based
    std::array<int, kDpiStages> values{};
};
using DpiColors = std::array<int, kDpiStages>;
struct SensorOptions {
    int liftoffHeight = 0;
    int sensorFlag = 0;
};
struct PowerOptions {
    int sleepLight = 0;
    int moveWakeup = 0;
    int moveCloseLight = 0;
    int buttonResponseTime = 0;
};

// sensor_flag bits that reach the mouse: B5 of SetSensor carries 8, B6 carries 4.
inline constexpr int kSensorFlagB5 = 8;
inline constexpr int kSensorFlagB6 = 4;

// (active << 4) | count with the count limited to 1..6 and the active stage to
// 0..count-1, so that neither can spill into the other's nibble.
std::uint8_t packDpiStages(int count, int active);
// A stage's DPI bounded by the sensor's limits, in the sensor's units (0..0xFFFF).
std::uint16_t dpiUnits(int dpi, const SensorState& sensor);

ReportPacket encodeSetDpi(const DpiSettings& settings, const SensorState& sensor);
ReportPacket encodeSetDpiColors(const DpiColors& colors);
ReportPacket encodeSetReportRate(int code);
ReportPacket encodeSetSensor(const SensorOptions& options);
ReportPacket encodeSetPower(const PowerOptions& options);

// Decoding of accepted answers. Each gives the settings to store in the profile.
// GetReportRate: a code the mouse does not define gives nothing.
SettingValues decodeReportRate(AnswerBytes answer);
// GetDpi: stage count and active stage only when they make sense (count 1..6, active
// below count); each stage's DPI only when it converts to 50 or more.
SettingValues decodeDpi(AnswerBytes answer, const SensorState& sensor);
// GetDpi: the stages byte alone, (active stage << 4) | stage count, as a DPI notice
// carries it.
std::uint8_t decodeDpiStages(AnswerBytes answer);
SettingValues decodeDpiColors(AnswerBytes answer);
// GetSensor: bits 8 and 4 of sensor_flag come from the mouse; the stored bits the mouse
// does not carry are kept.
SettingValues decodeSensor(AnswerBytes answer, int storedSensorFlag);
SettingValues decodePower(AnswerBytes answer);

} // namespace corvane::protocol
