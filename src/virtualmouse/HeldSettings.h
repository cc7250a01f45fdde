#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "virtualmouse/MouseSettings.h"

namespace corvane::vm {

// What the mouse runs with, in the units a user speaks of: the firmware's own reading of
// the parameters it kept. Tests compare it with the value they set ("stage 2 is 3200 DPI",
// "the back button gives Ctrl+C") instead of with bytes the program computed.
struct HeldSettings {
    int stageCount = 0;
    int activeStage = 0; // 0-based
    std::array<int, 6> stageDpi{};
    std::array<std::string, 6> stageColour; // "#RRGGBB"
    int reportRateHz = 0;                   // 0: a code the firmware has no rate for
    int liftOffMm = 0;                      // 0: a code the firmware has no height for
    bool rippleControl = false;
    bool angleSnapping = false;
    int sleepSeconds = 0;
    bool wakeOnMotion = false;
    bool lightOffWhileMoving = false;
    int responseMs = 0;
    // The function of each button index 0..8, e.g. "mouse back", "key Ctrl+C",
    // "media volume up", "DPI +", "macro 3 x5", "disabled".
    std::array<std::string, 9> buttons;

    struct Lighting {
        int mode = 0;
        int brightness = 0;
        int speed = 0;
        std::vector<std::string> colours; // "#RRGGBB", as many as the mode carries
    } lighting;
};

// One step of a macro the mouse plays: "A down", "Ctrl up", "left button down", and the
// pause after it.
struct MacroStep {
    std::string action;
    int delayMs = 0;
    bool operator==(const MacroStep&) const = default;
};
std::ostream& operator<<(std::ostream& out, const MacroStep& step);

// The DPI a stage of `units` runs at on a sensor.
int dpiOfUnits(std::uint8_t sensorCode, int units);
// The settings behind the kept write commands (absent ones read as their zero values).
HeldSettings readHeldSettings(const MouseSettings& settings, std::uint8_t sensorCode);
// One 3-byte button entry as the mouse acts on it.
std::string readButtonFunction(std::uint8_t kind, std::uint8_t first, std::uint8_t second);
// A macro stream (button index first, then 4-byte records) as steps.
std::vector<MacroStep> readMacroSteps(const std::vector<std::uint8_t>& stream);
// The name of a key by its keyboard usage ("A", "F5", "Enter", "Ctrl"...).
std::string keyName(std::uint8_t usage);

} // namespace corvane::vm
