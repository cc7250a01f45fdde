#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane::protocol {

// The mouse's command codes.
enum class Command : std::uint8_t {
    SetReportRate = 0x02,
    SetDpi = 0x03,
    SetDpiColors = 0x04,
    SetLighting = 0x05,
    SetSensor = 0x06,
    SetPower = 0x07,
    SetMacro = 0x08,
    SetButtons = 0x09,
    LightControl = 0x0E,
    FactoryReset = 0x0F,
    GetInfo = 0x10,
    BeginRead = 0x11,
    GetReportRate = 0x12,
    GetDpi = 0x13,
    GetDpiColors = 0x14,
    GetLighting = 0x15,
    GetSensor = 0x16,
    GetPower = 0x17,
    GetReceiverVersion = 0x20,
};

enum class CommandKind { Write, MultiPacketWrite, Read };

struct CommandInfo {
    Command code;
    const char* name;
    CommandKind kind;
    std::size_t writeLength; // bytes handed to the HID layer: 33 or 65
    std::uint8_t size;       // B3; SetLighting, SetMacro and LightControl set their own
};

// Every command, in code order.
std::span<const CommandInfo> allCommands();
// The entry of a code, or nullptr for a code the mouse does not know.
const CommandInfo* findCommand(std::uint8_t code);

inline constexpr std::uint8_t toByte(Command code) {
    return static_cast<std::uint8_t>(code);
}

// Unsolicited reports (answer form, B0).
inline constexpr std::uint8_t kConnectionNotice = 0xC0;
inline constexpr std::uint8_t kDpiNotice = 0xC2;

} // namespace corvane::protocol
