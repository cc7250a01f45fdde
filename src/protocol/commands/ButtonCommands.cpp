#include "protocol/commands/ButtonCommands.h"

#include <vector>

#include "hid/Trace.h"
#include "protocol/codec/BindingType.h"
#include "protocol/codec/ButtonTable.h"
#include "protocol/codec/MacroStream.h"
#include "protocol/transport/CommandExchange.h"
#include "protocol/transport/PacketSlicing.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol {

namespace {

constexpr int kTraceLevel = 2;

} // namespace

bool sendMacro(int buttonIndex, int macroId) {
    const MacroStream stream = buildMacroStream(buttonIndex, macroId);
    std::vector<ReportPacket> packets;
    if (!macroPackets(stream.bytes, packets)) {
        hid::trace(kTraceLevel,
                   "command 0x%02X not sent: macro %d of button %d is %zu bytes, more than "
                   "%zu packets carry",
                   toByte(Command::SetMacro), macroId, buttonIndex, stream.bytes.size(),
                   kMaxPackets);
        return false;
    }
    bool allAccepted = true;
    for (std::size_t i = 0; i < packets.size(); ++i) {
        if (!packets[i].transact()) {
            hid::trace(kTraceLevel, "command 0x%02X not accepted: macro data, packet %zu of %zu",
                       toByte(Command::SetMacro), i + 1, packets.size());
            allAccepted = false;
        }
    }
    return allAccepted;
}

bool sendButtons(int profile) {
    ReportPacket packet = encodeSetButtons(buildButtonTable(profile));
    return sendWrite(packet, "key functions");
}

namespace {

// Sends the macro of each MacroCall binding of the profile that `wanted` accepts.
template <class Wanted> void sendBoundMacros(int profile, Wanted wanted) {
    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    std::vector<store::ButtonBinding> bindings;
    db.listBindings(profile, bindings);
    for (const store::ButtonBinding& binding : bindings) {
        if (binding.macroType != static_cast<int>(BindingType::MacroCall) ||
            !wanted(binding.keyCode)) {
            continue;
        }
        store::MacroDefinition macro;
        if (db.getMacro(binding.macroValue, macro)) {
            sendMacro(binding.keyCode, macro.id);
        }
    }
}

} // namespace

bool setButtons(int profile, bool macroDirty, int macroButton) {
    std::set<int> buttons;
    if (macroDirty && macroButton >= 0) {
        buttons.insert(macroButton);
    }
    return setButtons(profile, buttons);
}

bool setButtons(int profile, const std::set<int>& macroButtons) {
    if (!macroButtons.empty()) {
        sendBoundMacros(profile, [&](int button) { return macroButtons.count(button) != 0; });
    }
    return sendButtons(profile);
}

bool setButtonsWithAllMacros(int profile) {
    sendBoundMacros(profile, [](int) { return true; });
    return sendButtons(profile);
}

} // namespace corvane::protocol
