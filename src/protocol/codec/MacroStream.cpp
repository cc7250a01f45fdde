#include "protocol/codec/MacroStream.h"

#include <algorithm>

#include "protocol/codec/KeyCodes.h"
#include "protocol/transport/PacketSlicing.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol {

namespace {

constexpr long long kMaxDelay = 0xFFFF;
constexpr int kMinimumDelay = 1;

struct Action {
    std::uint8_t action;
    std::uint8_t code;
};

std::uint8_t low(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

Action keyAction(int virtualKey, bool down) {
    if (isModifierKey(virtualKey)) {
        return {down ? kActionModifierDown : kActionModifierUp, low(modifierMask(virtualKey))};
    }
    return {down ? kActionKeyDown : kActionKeyUp, low(keyUsage(virtualKey))};
}

// Writes the delay into the last record of the stream.
void setLastDelay(std::vector<std::uint8_t>& bytes, long long delay) {
    const auto ms = static_cast<std::uint16_t>(std::clamp(delay, 0LL, kMaxDelay));
    const std::size_t at = bytes.size() - kMacroRecordBytes + 1;
    bytes[at] = static_cast<std::uint8_t>(ms & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(ms >> 8);
}

} // namespace

MacroStream buildMacroStream(int buttonIndex, std::span<const store::MacroEvent> events) {
    MacroStream stream;
    stream.bytes.push_back(low(buttonIndex));
    long long pending = 0; // delay waiting for the record it belongs to
    for (std::size_t i = 0; i < events.size(); ++i) {
        const store::MacroEvent& event = events[i];
        Action action{};
        switch (static_cast<MacroEventType>(event.type)) {
        case MacroEventType::Delay:
            pending += event.value;
            if (i + 1 == events.size() && stream.records > 0) {
                setLastDelay(stream.bytes, pending);
            }
            continue;
        case MacroEventType::KeyDown:
            action = keyAction(event.value, true);
            break;
        case MacroEventType::KeyUp:
            action = keyAction(event.value, false);
            break;
        case MacroEventType::ButtonDown:
            action = {kActionButtonDown, low(event.value)};
            break;
        case MacroEventType::ButtonUp:
            action = {kActionButtonUp, low(event.value)};
            break;
        default:
            continue;
        }
        // A delay in front of the first step stays pending and joins the delay after it.
        if (stream.records > 0) {
            setLastDelay(stream.bytes, pending > 0 ? pending : kMinimumDelay);
            pending = 0;
        }
        stream.bytes.insert(stream.bytes.end(), {action.action, kMinimumDelay, 0x00, action.code});
        ++stream.records;
    }
    return stream;
}

MacroStream buildMacroStream(int buttonIndex, int macroId) {
    std::vector<store::MacroEvent> events;
    store::ProfileDatabase::instance().listMacroEvents(macroId, events);
    return buildMacroStream(buttonIndex, events);
}

bool macroPackets(std::span<const std::uint8_t> stream, std::vector<ReportPacket>& packets) {
    return slicePayload(Command::SetMacro, stream, packets);
}

} // namespace corvane::protocol
