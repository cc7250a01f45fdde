#include "protocol/transport/Commands.h"

#include <algorithm>
#include <array>

#include "hid/ReportExchange.h"

namespace corvane::protocol {

namespace {

constexpr std::size_t kShort = hid::kShortReportLength;
constexpr std::size_t kLong = hid::kLongReportLength;

constexpr std::array<CommandInfo, 19> kCommands{{
    {Command::SetReportRate, "SetReportRate", CommandKind::Write, kLong, 0x01},
    {Command::SetDpi, "SetDpi", CommandKind::Write, kShort, 0x25},
    {Command::SetDpiColors, "SetDpiColors", CommandKind::Write, kLong, 0x12},
    {Command::SetLighting, "SetLighting", CommandKind::Write, kLong, 0x00},
    {Command::SetSensor, "SetSensor", CommandKind::Write, kLong, 0x05},
    {Command::SetPower, "SetPower", CommandKind::Write, kLong, 0x04},
    {Command::SetMacro, "SetMacro", CommandKind::MultiPacketWrite, kShort, 0x00},
    {Command::SetButtons, "SetButtons", CommandKind::Write, kShort, 0x0F},
    {Command::LightControl, "LightControl", CommandKind::Write, kShort, 0x01},
    {Command::FactoryReset, "FactoryReset", CommandKind::Write, kShort, 0x01},
    {Command::GetInfo, "GetInfo", CommandKind::Read, kShort, 0x00},
    {Command::BeginRead, "BeginRead", CommandKind::Read, kShort, 0x00},
    {Command::GetReportRate, "GetReportRate", CommandKind::Read, kShort, 0x00},
    {Command::GetDpi, "GetDpi", CommandKind::Read, kShort, 0x00},
    {Command::GetDpiColors, "GetDpiColors", CommandKind::Read, kShort, 0x00},
    {Command::GetLighting, "GetLighting", CommandKind::Read, kShort, 0x00},
    {Command::GetSensor, "GetSensor", CommandKind::Read, kShort, 0x00},
    {Command::GetPower, "GetPower", CommandKind::Read, kShort, 0x00},
    {Command::GetReceiverVersion, "GetReceiverVersion", CommandKind::Read, kShort, 0x00},
}};

static_assert(toByte(Command::GetInfo) == hid::kGetInfoCommand);

} // namespace

std::span<const CommandInfo> allCommands() {
    return kCommands;
}

const CommandInfo* findCommand(std::uint8_t code) {
    const auto* it = std::find_if(kCommands.begin(), kCommands.end(),
                                  [&](const CommandInfo& c) { return toByte(c.code) == code; });
    return it == kCommands.end() ? nullptr : it;
}

} // namespace corvane::protocol
