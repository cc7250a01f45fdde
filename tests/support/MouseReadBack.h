#pragma once
// What a mouse holds after a write command, as the tests of the pages and of corvanectl
// both check it: the settings read back with the program's own decoders, and whether
// the mouse keeps exactly what the program would send for the store's values.

#include "protocol/codec/PerformanceCodec.h"
#include "protocol/transport/ReportPacket.h"
#include "protocol/transport/SettingValues.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace corvane::test {

// What a mouse keeps of one write command: its size byte (B3) and parameters (B4..B30).
struct KeptCommand {
    std::uint8_t writeCode = 0;
    std::uint8_t size = 0;
    std::array<std::uint8_t, 27> parameters{};
};

// The write commands that carry performance settings.
inline constexpr std::uint8_t kPerformanceWrites[] = {0x02, 0x03, 0x04, 0x06, 0x07};

// The performance settings the mouse holds after `kept`: the answer to the matching read
// command (B0 the write code + 0x10, B3 the size, B4.. the parameters) decoded as the
// program decodes it. sensor_flag keeps the bits of `storedSensorFlag` the mouse does
// not carry (0: only the carried bits). Empty for a command without settings.
inline protocol::SettingValues readBackSettings(const KeptCommand& kept, int sensorCode,
                                                int storedSensorFlag = 0) {
    std::array<std::uint8_t, 32> answer{};
    answer[0] = static_cast<std::uint8_t>(kept.writeCode + 0x10);
    answer[3] = kept.size;
    std::copy(kept.parameters.begin(), kept.parameters.end(), answer.begin() + 4);
    const protocol::SensorState sensor(sensorCode);
    switch (kept.writeCode) {
    case 0x02:
        return protocol::decodeReportRate(answer);
    case 0x03:
        return protocol::decodeDpi(answer, sensor);
    case 0x04:
        return protocol::decodeDpiColors(answer);
    case 0x06:
        return protocol::decodeSensor(answer, storedSensorFlag);
    case 0x07:
        return protocol::decodePower(answer);
    default:
        return {};
    }
}

// The read-back fills two keys that are never sent: dpi_flag (the stage count again)
// and report_rate_wireless (the rate again). The store may hold other values there.
inline bool isSentSetting(QStringView key) {
    return key != protocol::keys::dpiFlag && key != protocol::keys::reportRateWireless;
}

// One setting of readBackSettings, or nothing when `kept` does not carry it.
inline std::optional<int> readBackSetting(const KeptCommand& kept, QStringView key, int sensorCode,
                                          int storedSensorFlag = 0) {
    for (const protocol::SettingValue& value :
         readBackSettings(kept, sensorCode, storedSensorFlag)) {
        if (value.key == key)
            return value.value;
    }
    return std::nullopt;
}

// True when the mouse keeps exactly the size byte and parameters of `packet`.
inline bool keepsPacket(const KeptCommand& kept, const protocol::ReportPacket& packet) {
    return kept.writeCode == packet.data()[1] && kept.size == packet.size() &&
           std::equal(kept.parameters.begin(), kept.parameters.end(), packet.data() + 5);
}

// What a write report leaves kept, from its bytes as written (report ID first).
inline KeptCommand keptFromReport(std::span<const std::uint8_t> report) {
    KeptCommand kept;
    if (report.size() > 1)
        kept.writeCode = report[1];
    if (report.size() > 4)
        kept.size = report[4];
    for (std::size_t k = 0; k < kept.parameters.size() && k + 5 < report.size(); ++k)
        kept.parameters[k] = report[k + 5];
    return kept;
}

} // namespace corvane::test
