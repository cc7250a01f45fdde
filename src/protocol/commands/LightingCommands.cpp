#include "protocol/commands/LightingCommands.h"

#include <mutex>
#include <string>

#include "protocol/transport/CommandExchange.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol {

LightingResult setLighting(int profile, int mode) {
    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    store::LightEffect light;
    {
        std::lock_guard lock(db.mutex());
        if (!db.getLight(profile, mode, light)) {
            return LightingResult::NoRecord;
        }
        db.setCurrentLightMode(profile, mode);
    }
    ReportPacket packet = encodeSetLighting(light);
    const std::string setting = "light mode " + std::to_string(mode);
    return sendWrite(packet, setting.c_str()) ? LightingResult::Accepted
                                              : LightingResult::NotAccepted;
}

bool lightControl(LightControlParameter parameter) {
    ReportPacket packet = encodeLightControl(parameter);
    return packet.transact();
}

bool readLighting(LightingState& state) {
    ReportPacket packet(Command::GetLighting);
    if (!sendRead(packet, "lighting")) {
        return false;
    }
    state = decodeLighting(answerOf(packet));
    return true;
}

void storeLighting(int profile, const LightingState& state) {
    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    std::lock_guard lock(db.mutex());
    db.setCurrentLightMode(profile, state.mode);
    store::LightEffect light;
    if (db.getLight(profile, state.mode, light)) {
        light.brightness = state.brightness;
        light.speed = state.speed;
        db.updateLight(state.mode, light);
    }
}

bool getLighting(int profile, int& mode) {
    LightingState state;
    if (!readLighting(state)) {
        return false;
    }
    storeLighting(profile, state);
    mode = state.mode;
    return true;
}

} // namespace corvane::protocol
