#include "protocol/codec/PerformanceCodec.h"

#include <algorithm>

#include "protocol/codec/ColorBytes.h"

namespace corvane::protocol {

namespace {

constexpr int kStagesByte = 4;
constexpr int kMinStoredDpi = 50; // a stage read back below this is not stored

// Stage k's X and Y values in SetDpi / GetDpi.
constexpr int stageX(int k) {
    return 5 + 4 * k;
}
constexpr int stageY(int k) {
    return 7 + 4 * k;
}
constexpr int stageColor(int k) {
    return 4 + kColorBytes * k;
}

std::uint8_t lowByte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint16_t answer16(AnswerBytes answer, int b) {
    return static_cast<std::uint16_t>(answerAt(answer, b) | (answerAt(answer, b + 1) << 8));
}

} // namespace

std::uint8_t packDpiStages(int count, int active) {
    const int stages = std::clamp(count, 1, kDpiStages);
    const int current = std::clamp(active, 0, stages - 1);
    return static_cast<std::uint8_t>((current << 4) | stages);
}

std::uint16_t dpiUnits(int dpi, const SensorState& sensor) {
    int d = dpi;
    if (d < sensor.dpiMin) {
        d = sensor.dpiMin;
    } else if (d > sensor.dpiMax) {
        d = sensor.dpiMax;
    }
    return static_cast<std::uint16_t>(std::clamp(dpiToDeviceCode(sensor.sensorId, d), 0, 0xFFFF));
}

ReportPacket encodeSetDpi(const DpiSettings& settings, const SensorState& sensor) {
    ReportPacket packet(Command::SetDpi);
    packet.setParameter(kStagesByte, packDpiStages(settings.count, settings.active));
    for (int k = 0; k < kDpiStages; ++k) {
        const std::uint16_t units = dpiUnits(settings.values[k], sensor);
        packet.setParameter16(stageX(k), units);
        packet.setParameter16(stageY(k), units);
    }
    return packet;
}

ReportPacket encodeSetDpiColors(const DpiColors& colors) {
    ReportPacket packet(Command::SetDpiColors);
    for (int k = 0; k < kDpiStages; ++k) {
        putColor(packet, stageColor(k), colors[k]);
    }
    return packet;
}

ReportPacket encodeSetReportRate(int code) {
    ReportPacket packet(Command::SetReportRate);
    packet.setParameter(4, lowByte(code));
    return packet;
}

ReportPacket encodeSetSensor(const SensorOptions& options) {
    ReportPacket packet(Command::SetSensor);
    packet.setParameter(4, lowByte(options.liftoffHeight));
    packet.setParameter(5, (options.sensorFlag & kSensorFlagB5) ? 1 : 0);
    packet.setParameter(6, (options.sensorFlag & kSensorFlagB6) ? 1 : 0);
    return packet;
}

ReportPacket encodeSetPower(const PowerOptions& options) {
    ReportPacket packet(Command::SetPower);
    packet.setParameter(4, lowByte(options.sleepLight));
    packet.setParameter(5, lowByte(options.moveWakeup));
    packet.setParameter(6, lowByte(options.moveCloseLight));
    packet.setParameter(7, lowByte(options.buttonResponseTime));
    return packet;
}

SettingValues decodeReportRate(AnswerBytes answer) {
    const int code = answerAt(answer, 4);
    if (!isReportRateCode(code)) {
        return {};
    }
    return {{keys::reportRate, code}, {keys::reportRateWireless, code}};
}

SettingValues decodeDpi(AnswerBytes answer, const SensorState& sensor) {
    SettingValues values;
    const int stages = answerAt(answer, kStagesByte);
    const int count = stages & 0x0F;
    const int active = stages >> 4;
    if (count >= 1 && count <= kDpiStages && active < count) {
        values.push_back({keys::dpiFlag, count});
        values.push_back({keys::dpiCount, count});
        values.push_back({keys::dpiIndex, active});
    }
    for (int k = 0; k < kDpiStages; ++k) {
        // Stage 0 is read from its Y value, the others from their X value.
        const int units = answer16(answer, k == 0 ? stageY(0) : stageX(k));
        const int dpi = deviceCodeToDpi(sensor.sensorId, units);
        if (dpi >= kMinStoredDpi) {
            values.push_back({keys::dpiValue[k], dpi});
        }
    }
    return values;
}

std::uint8_t decodeDpiStages(AnswerBytes answer) {
    return static_cast<std::uint8_t>(answerAt(answer, kStagesByte));
}

SettingValues decodeDpiColors(AnswerBytes answer) {
    SettingValues values;
    for (int k = 0; k < kDpiStages; ++k) {
        values.push_back({keys::dpiColor[k], colorAt(answer, stageColor(k))});
    }
    return values;
}

SettingValues decodeSensor(AnswerBytes answer, int storedSensorFlag) {
    int flag = storedSensorFlag & ~(kSensorFlagB5 | kSensorFlagB6);
    if (answerAt(answer, 5) == 1) {
        flag |= kSensorFlagB5;
    }
    if (answerAt(answer, 6) == 1) {
        flag |= kSensorFlagB6;
    }
    return {{keys::liftoffHeight, answerAt(answer, 4)}, {keys::sensorFlag, flag}};
}

SettingValues decodePower(AnswerBytes answer) {
    return {{keys::sleepLight, answerAt(answer, 4)},
            {keys::moveWakeup, answerAt(answer, 5)},
            {keys::moveCloseLight, answerAt(answer, 6)},
            {keys::buttonResponseTime, answerAt(answer, 7)}};
}

} // namespace corvane::protocol
