#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "virtualmouse/Reports.h"

namespace corvane::vm {

// What the mouse keeps: the last accepted parameters of every write command, its
// macros, and the factory state it returns to on FactoryReset. It answers the read
// commands with what it kept; every read 0x12..0x17 answers with the layout of the
// write command 0x10 lower.
class MouseSettings {
public:
    // B4..B30 of a command.
    using Parameters = std::array<std::uint8_t, 27>;
    struct Kept {
        std::uint8_t size = 0; // B3
        Parameters parameters{};
    };

    MouseSettings();

    // Answers one command body (GetInfo and GetReceiverVersion are the device's own
    // business and are rejected here). A body whose packet number, size byte or
    // checksum is wrong for its command, or an unknown command, is rejected with
    // status 0x02 and changes nothing.
    InputReport handle(const CommandBody& body);

    // The kept state of a write command (0x02..0x07, 0x09); nullopt for other codes.
    std::optional<Kept> kept(std::uint8_t writeCode) const;
    // Sets the kept state of a write command as if the host had sent it.
    bool setKept(std::uint8_t writeCode, const Kept& state);
    // Replaces the factory state of a write command (and keeps it from now on).
    bool setFactory(std::uint8_t writeCode, const Kept& state);

    // The macro stream (button index first) received for this button, empty if none.
    std::vector<std::uint8_t> macro(int buttonIndex) const;
    int lastLightControl() const { return lastLightControl_; }
    int factoryResets() const { return factoryResets_; }

    // The DPI button: steps the active stage and returns B1 of the DPI notice,
    // (active stage << 4) | stage count.
    std::uint8_t stepDpiStage();

    void restoreFactory();

private:
    InputReport handleMacro(const CommandBody& body);

    std::map<std::uint8_t, Kept> kept_;
    std::map<std::uint8_t, Kept> factory_;
    std::map<int, std::vector<std::uint8_t>> macros_;
    std::vector<std::uint8_t> macroInProgress_;
    int macroPackets_ = 0;
    int macroNextIndex_ = 0;
    int lastLightControl_ = -1;
    int factoryResets_ = 0;
};

} // namespace corvane::vm
