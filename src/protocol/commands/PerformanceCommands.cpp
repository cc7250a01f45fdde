#include "protocol/commands/PerformanceCommands.h"

#include <mutex>

#include "protocol/transport/CommandExchange.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol {

namespace {

store::ProfileDatabase& db() {
    return store::ProfileDatabase::instance();
}

int setting(int profile, QStringView key) {
    return db().getSettingInt(profile, key);
}

} // namespace

DpiSettings loadDpiSettings(int profile) {
    DpiSettings settings;
    settings.count = setting(profile, keys::dpiCount);
    settings.active = setting(profile, keys::dpiIndex);
    for (int k = 0; k < kDpiStages; ++k) {
        settings.values[k] = setting(profile, keys::dpiValue[k]);
    }
    return settings;
}

DpiColors loadDpiColors(int profile) {
    DpiColors colors{};
    for (int k = 0; k < kDpiStages; ++k) {
        colors[k] = setting(profile, keys::dpiColor[k]);
    }
    return colors;
}

int loadReportRate(int profile) {
    return setting(profile, keys::reportRate);
}

SensorOptions loadSensorOptions(int profile) {
    return {setting(profile, keys::liftoffHeight), setting(profile, keys::sensorFlag)};
}

PowerOptions loadPowerOptions(int profile) {
    return {setting(profile, keys::sleepLight), setting(profile, keys::moveWakeup),
            setting(profile, keys::moveCloseLight), setting(profile, keys::buttonResponseTime)};
}

bool setDpi(int profile, const SensorState& sensor) {
    ReportPacket packet = encodeSetDpi(loadDpiSettings(profile), sensor);
    return sendWrite(packet, "DPI stages");
}

bool setDpiColors(int profile) {
    ReportPacket packet = encodeSetDpiColors(loadDpiColors(profile));
    return sendWrite(packet, "DPI colours");
}

bool setReportRate(int profile) {
    ReportPacket packet = encodeSetReportRate(loadReportRate(profile));
    return sendWrite(packet, "report rate");
}

bool setSensor(int profile) {
    ReportPacket packet = encodeSetSensor(loadSensorOptions(profile));
    return sendWrite(packet, "lift-off height and sensor options");
}

bool setPower(int profile) {
    ReportPacket packet = encodeSetPower(loadPowerOptions(profile));
    return sendWrite(packet, "power options");
}

bool getReportRate(int profile) {
    ReportPacket packet(Command::GetReportRate);
    if (!sendRead(packet, "report rate")) {
        return false;
    }
    storeSettings(profile, decodeReportRate(answerOf(packet)));
    return true;
}

bool getDpi(int profile, const SensorState& sensor) {
    ReportPacket packet(Command::GetDpi);
    if (!sendRead(packet, "DPI stages")) {
        return false;
    }
    storeSettings(profile, decodeDpi(answerOf(packet), sensor));
    return true;
}

std::optional<std::uint8_t> getDpiStages() {
    ReportPacket packet(Command::GetDpi);
    if (!sendRead(packet, "DPI stages")) {
        return std::nullopt;
    }
    return decodeDpiStages(answerOf(packet));
}

bool getDpiColors(int profile) {
    ReportPacket packet(Command::GetDpiColors);
    if (!sendRead(packet, "DPI colours")) {
        return false;
    }
    storeSettings(profile, decodeDpiColors(answerOf(packet)));
    return true;
}

bool getSensor(int profile) {
    ReportPacket packet(Command::GetSensor);
    if (!sendRead(packet, "lift-off height and sensor options")) {
        return false;
    }
    std::lock_guard lock(db().mutex()); // the kept bits must not change in between
    storeSettings(profile, decodeSensor(answerOf(packet), setting(profile, keys::sensorFlag)));
    return true;
}

bool getPower(int profile) {
    ReportPacket packet(Command::GetPower);
    if (!sendRead(packet, "power options")) {
        return false;
    }
    storeSettings(profile, decodePower(answerOf(packet)));
    return true;
}

} // namespace corvane::protocol
