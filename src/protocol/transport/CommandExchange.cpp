#include "protocol/transport/CommandExchange.h"

#include <mutex>

#include "hid/Trace.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol {

namespace {

constexpr int kTraceLevel = 2;

bool isNotification(std::uint8_t b0) {
    return b0 == kConnectionNotice || b0 == kDpiNotice;
}

} // namespace

bool sendWrite(ReportPacket& packet, const char* setting) {
    const std::uint8_t code = toByte(packet.command());
    if (packet.transact()) {
        return true;
    }
    hid::trace(kTraceLevel, "command 0x%02X not accepted: %s", code, setting);
    return false;
}

bool sendRead(ReportPacket& packet, const char* setting) {
    const std::uint8_t code = toByte(packet.command());
    if (!packet.transact()) {
        hid::trace(kTraceLevel, "command 0x%02X not answered: %s", code, setting);
        return false;
    }
    if (isNotification(packet.answerByte(0))) {
        hid::trace(kTraceLevel, "command 0x%02X met notification 0x%02X: %s not read", code,
                   packet.answerByte(0), setting);
        return false;
    }
    return true;
}

bool storeSettings(int profile, const SettingValues& values) {
    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    std::lock_guard lock(db.mutex());
    bool stored = true;
    for (const SettingValue& value : values) {
        stored = db.setSetting(profile, value.key, value.value) && stored;
    }
    return stored;
}

} // namespace corvane::protocol
