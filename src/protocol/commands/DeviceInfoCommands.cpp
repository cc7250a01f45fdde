#include "protocol/commands/DeviceInfoCommands.h"

#include "protocol/transport/AnswerBytes.h"
#include "protocol/transport/CommandExchange.h"

namespace corvane::protocol {

namespace {

// GetInfo answer positions besides the sensor's.
constexpr int kBatteryStatusByte = 12;
constexpr int kBatteryLevelByte = 13;
constexpr int kConnectedByte = 14;
// GetReceiverVersion answer positions.
constexpr int kMajorByte = 4;
constexpr int kMinorByte = 5;

} // namespace

std::optional<DeviceInfo> getDeviceInfo() {
    ReportPacket packet(Command::GetInfo);
    if (!sendRead(packet, "device information")) {
        return std::nullopt;
    }
    const AnswerBytes answer = answerOf(packet);
    DeviceInfo info;
    info.sensor = sensorStateFromInfo(answer);
    info.batteryStatus = answerAt(answer, kBatteryStatusByte);
    info.batteryLevel = answerAt(answer, kBatteryLevelByte);
    info.connected = answerAt(answer, kConnectedByte);
    return info;
}

void beginRead() {
    ReportPacket packet(Command::BeginRead);
    packet.transact();
}

std::optional<QString> getReceiverVersion() {
    ReportPacket packet(Command::GetReceiverVersion);
    if (!sendRead(packet, "receiver version")) {
        return std::nullopt;
    }
    return QString::number(packet.answerByte(kMajorByte), 16).toUpper() +
           QStringLiteral("%1")
               .arg(packet.answerByte(kMinorByte), 2, 16, QLatin1Char('0'))
               .toUpper();
}

void sendFactoryReset() {
    constexpr std::uint8_t kEverySetting = 0xFF;
    ReportPacket packet(Command::FactoryReset);
    packet.setParameter(4, kEverySetting);
    packet.transact();
}

} // namespace corvane::protocol
