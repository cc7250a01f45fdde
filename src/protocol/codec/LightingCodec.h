#pragma once

#include <cstdint>

#include "protocol/transport/AnswerBytes.h"
#include "protocol/transport/ReportPacket.h"
#include "store/LightEffect.h"

namespace corvane::protocol {

// The lighting commands' bytes. Pure: no store, no I/O.

// (brightness << 4) | speed, each limited to 0..15 so that neither can change the
// other's nibble.
std::uint8_t packBrightnessSpeed(int brightness, int speed);

// SetLighting for a lighting mode: its layout follows the mode (mode 2 carries all
// seven colours, mode 3 the first one, a mode the mouse does not know only zeros).
ReportPacket encodeSetLighting(const store::LightEffect& light);

// The two requests LightControl knows: after the profiles' lighting was restored to
// its defaults, and during a factory reset.
enum class LightControlParameter : std::uint8_t {
    Restore = 0x01,
    Reset = 0x42,
};
ReportPacket encodeLightControl(LightControlParameter parameter);

// What GetLighting answers: B4 the mode, B5 (brightness << 4) | speed.
struct LightingState {
    int mode = 0;
    int brightness = 0;
    int speed = 0;

    friend bool operator==(const LightingState&, const LightingState&) = default;
};
LightingState decodeLighting(AnswerBytes answer);

} // namespace corvane::protocol
