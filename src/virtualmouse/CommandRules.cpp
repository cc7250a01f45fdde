#include "virtualmouse/CommandRules.h"

#include <algorithm>
#include <array>

namespace corvane::vm {

namespace {

struct Rule {
    std::uint8_t code;
    bool read;
    std::array<int, 5> sizes; // -1 pads
};

// Packet number: single-packet writes carry 0x01, reads 0x00.
constexpr std::array<Rule, 18> kRules{{
    {command::SetReportRate, false, {0x01, -1, -1, -1, -1}},
    {command::SetDpi, false, {0x25, -1, -1, -1, -1}},
    {command::SetDpiColors, false, {0x12, -1, -1, -1, -1}},
    {command::SetLighting, false, {0x00, 0x02, 0x03, 0x05, 0x18}},
    {command::SetSensor, false, {0x05, -1, -1, -1, -1}},
    {command::SetPower, false, {0x04, -1, -1, -1, -1}},
    {command::SetButtons, false, {0x0F, -1, -1, -1, -1}},
    {command::LightControl, false, {0x01, 0x04, -1, -1, -1}},
    {command::FactoryReset, false, {0x01, -1, -1, -1, -1}},
    {command::GetInfo, true, {0x00, -1, -1, -1, -1}},
    {command::BeginRead, true, {0x00, -1, -1, -1, -1}},
    {command::GetReportRate, true, {0x00, -1, -1, -1, -1}},
    {command::GetDpi, true, {0x00, -1, -1, -1, -1}},
    {command::GetDpiColors, true, {0x00, -1, -1, -1, -1}},
    {command::GetLighting, true, {0x00, -1, -1, -1, -1}},
    {command::GetSensor, true, {0x00, -1, -1, -1, -1}},
    {command::GetPower, true, {0x00, -1, -1, -1, -1}},
    {command::GetReceiverVersion, true, {0x00, -1, -1, -1, -1}},
}};

bool checksumHolds(const CommandBody& body) {
    unsigned sum = 0;
    for (std::size_t i = 4; i <= 30; ++i) {
        sum += body[i];
    }
    return body[31] == (sum & 0xFF);
}

bool macroNumberingHolds(const CommandBody& body) {
    const int index = body[2] >> 4;
    const int count = body[2] & 0x0F;
    return count >= 1 && index < count && body[3] >= 1 && body[3] <= 27;
}

} // namespace

bool isReadCommand(std::uint8_t code) {
    const auto* rule =
        std::find_if(kRules.begin(), kRules.end(), [&](const Rule& r) { return r.code == code; });
    return rule != kRules.end() && rule->read;
}

bool isWellFormed(const CommandBody& body) {
    if (!checksumHolds(body)) {
        return false;
    }
    if (body[0] == command::SetMacro) {
        return macroNumberingHolds(body);
    }
    const auto* rule = std::find_if(kRules.begin(), kRules.end(),
                                    [&](const Rule& r) { return r.code == body[0]; });
    if (rule == kRules.end()) {
        return false;
    }
    const int packet = rule->read ? 0x00 : 0x01;
    return body[2] == packet &&
           std::find(rule->sizes.begin(), rule->sizes.end(), body[3]) != rule->sizes.end();
}

} // namespace corvane::vm
