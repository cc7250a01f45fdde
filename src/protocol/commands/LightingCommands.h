#pragma once

#include "protocol/codec/LightingCodec.h"

namespace corvane::protocol {

// The lighting commands of one profile, on the device worker, through the current
// command interface and the process-wide store. Sent only to devices with lighting.

enum class LightingResult {
    Accepted,
    NotAccepted, // sent, not accepted: a trace line was left
    NoRecord,    // the profile has no light record of the mode: nothing sent or changed
};

// Makes `mode` the profile's current light record and sends its effect. A mode the
// profile has no record of sends nothing and leaves the current record as it was.
LightingResult setLighting(int profile, int mode);

// Sends LightControl; its answer means nothing, the result only says one came.
bool lightControl(LightControlParameter parameter);

// GetLighting alone: true with `state` filled when the mouse answered; nothing stored.
bool readLighting(LightingState& state);
// Stores an answer: its mode becomes the profile's current mode, and the record of that
// mode (when there is one) takes its brightness and speed.
void storeLighting(int profile, const LightingState& state);
// Both: true when the mouse answered; `mode` then receives its current mode.
bool getLighting(int profile, int& mode);

} // namespace corvane::protocol
