#pragma once
// protocol/commands: command sequences that read and write settings; uses codec/, transport/.

#include "protocol/codec/PerformanceCodec.h"
#include "protocol/codec/SensorTable.h"

#include <cstdint>
#include <optional>

namespace corvane::protocol {

// The performance commands of one profile: each Set reads its settings from the store
// and sends them; each Get reads the mouse's values and stores them in the profile.
// They use the process-wide store and the current command interface of the device
// manager, and run on the device worker.
//
// A Set that is not accepted leaves a trace line and returns false; the stored
// settings stay, so the next push sends them again. A Get that fails stores nothing.

// The profile's settings as the encoders take them (missing or non-numeric text reads
// as 0).
DpiSettings loadDpiSettings(int profile);
DpiColors loadDpiColors(int profile);
int loadReportRate(int profile);
SensorOptions loadSensorOptions(int profile);
PowerOptions loadPowerOptions(int profile);

bool setDpi(int profile, const SensorState& sensor);
bool setDpiColors(int profile);
bool setReportRate(int profile);
bool setSensor(int profile);
bool setPower(int profile);

bool getReportRate(int profile);
bool getDpi(int profile, const SensorState& sensor);
bool getDpiColors(int profile);
// The mouse's stage count and active stage as GetDpi reports them (see
// decodeDpiStages), stored nowhere; nothing when the mouse does not answer.
std::optional<std::uint8_t> getDpiStages();
bool getSensor(int profile);
bool getPower(int profile);

} // namespace corvane::protocol
