#include "virtualmouse/MouseSettings.h"

#include "virtualmouse/CommandRules.h"

namespace corvane::vm {

namespace {

constexpr std::uint8_t kResetAll = 0xFF;
constexpr std::size_t kMacroSlice = 27;

// What a new mouse holds: four stages of 400, 800, 1600 and 3200 DPI at 50 DPI per
// unit, stage 1 active; red, green, blue, yellow, cyan and magenta; 1000 Hz; lighting
// mode 4; the five mouse buttons and the DPI button.
std::map<std::uint8_t, MouseSettings::Kept> factoryDefaults() {
    std::map<std::uint8_t, MouseSettings::Kept> f;
    f[command::SetReportRate] = {0x01, {0x01}};

    MouseSettings::Kept dpi{0x25, {}};
    dpi.parameters[0] = (1 << 4) | 4;
    const std::uint16_t units[6] = {8, 16, 32, 64, 96, 128};
    for (int k = 0; k < 6; ++k) {
        for (int axis = 0; axis < 2; ++axis) {
            dpi.parameters[1 + 4 * k + 2 * axis] = static_cast<std::uint8_t>(units[k] & 0xFF);
            dpi.parameters[2 + 4 * k + 2 * axis] = static_cast<std::uint8_t>(units[k] >> 8);
        }
    }
    f[command::SetDpi] = dpi;

    f[command::SetDpiColors] = {0x12,
                                {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF,
                                 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0xFF}};
    f[command::SetLighting] = {0x02, {0x04, 0x32}};
    f[command::SetSensor] = {0x05, {0x02, 0x01, 0x00}};
    f[command::SetPower] = {0x04, {0x1E, 0x01, 0x00, 0x08}}; // 5 minutes, 8 ms
    f[command::SetButtons] = {0x0F,
                              {0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00, 0x10, 0x08,
                               0x00, 0x10, 0x10, 0x00, 0x40, 0x01, 0x00}};
    return f;
}

MouseSettings::Parameters parametersOf(const CommandBody& body) {
    MouseSettings::Parameters p{};
    std::copy(body.begin() + 4, body.begin() + 31, p.begin());
    return p;
}

InputReport withData(std::uint8_t code, const MouseSettings::Kept& kept) {
    InputReport report = answerReport(code, kStatusOk);
    report[3] = kept.size;
    unsigned sum = 0;
    for (std::size_t i = 0; i < kept.parameters.size(); ++i) {
        report[4 + i] = kept.parameters[i];
        sum += kept.parameters[i];
    }
    report[31] = static_cast<std::uint8_t>(sum & 0xFF);
    return report;
}

} // namespace

MouseSettings::MouseSettings() : factory_(factoryDefaults()) {
    kept_ = factory_;
}

void MouseSettings::restoreFactory() {
    kept_ = factory_;
    macros_.clear();
    macroInProgress_.clear();
    macroPackets_ = 0;
    macroNextIndex_ = 0;
}

std::optional<MouseSettings::Kept> MouseSettings::kept(std::uint8_t writeCode) const {
    auto it = kept_.find(writeCode);
    if (it == kept_.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool MouseSettings::setKept(std::uint8_t writeCode, const Kept& state) {
    auto it = kept_.find(writeCode);
    if (it == kept_.end()) {
        return false;
    }
    it->second = state;
    return true;
}

bool MouseSettings::setFactory(std::uint8_t writeCode, const Kept& state) {
    auto it = factory_.find(writeCode);
    if (it == factory_.end()) {
        return false;
    }
    it->second = state;
    return true;
}

std::vector<std::uint8_t> MouseSettings::macro(int buttonIndex) const {
    auto it = macros_.find(buttonIndex);
    return it == macros_.end() ? std::vector<std::uint8_t>{} : it->second;
}

std::uint8_t MouseSettings::stepDpiStage() {
    std::uint8_t& stages = kept_[command::SetDpi].parameters[0];
    const int count = (stages & 0x0F) == 0 ? 1 : (stages & 0x0F);
    const int next = ((stages >> 4) + 1) % count;
    stages = static_cast<std::uint8_t>((next << 4) | (stages & 0x0F));
    return stages;
}

InputReport MouseSettings::handleMacro(const CommandBody& body) {
    const int index = body[2] >> 4;
    const int count = body[2] & 0x0F;
    const std::size_t length = body[3];
    const bool startsNew = index == 0;
    const bool continues = index == macroNextIndex_ && count == macroPackets_;
    // Every packet but the last is full.
    const bool sizeFits = index == count - 1 || length == kMacroSlice;
    if ((!startsNew && !continues) || !sizeFits) {
        macroInProgress_.clear();
        macroPackets_ = 0;
        macroNextIndex_ = 0;
        return answerReport(command::SetMacro, kStatusRejected);
    }
    if (startsNew) {
        macroInProgress_.clear();
        macroPackets_ = count;
    }
    macroInProgress_.insert(macroInProgress_.end(), body.begin() + 4, body.begin() + 4 + length);
    macroNextIndex_ = index + 1;
    if (macroNextIndex_ == macroPackets_) {
        macros_[macroInProgress_.front()] = macroInProgress_;
        macroInProgress_.clear();
        macroPackets_ = 0;
        macroNextIndex_ = 0;
    }
    return answerReport(command::SetMacro, kStatusOk);
}

InputReport MouseSettings::handle(const CommandBody& body) {
    const std::uint8_t code = body[0];
    if (!isWellFormed(body)) {
        return answerReport(code, kStatusRejected);
    }
    switch (code) {
    case command::SetMacro:
        return handleMacro(body);
    case command::LightControl:
        if (!((body[3] == 0x01 && body[4] == 0x01) || (body[3] == 0x04 && body[4] == 0x42))) {
            return answerReport(code, kStatusRejected);
        }
        // Both parameters put the lighting back to the factory effect.
        lastLightControl_ = body[4];
        kept_[command::SetLighting] = factory_[command::SetLighting];
        return answerReport(code, kStatusOk);
    case command::FactoryReset:
        if (body[4] != kResetAll) {
            return answerReport(code, kStatusRejected);
        }
        restoreFactory();
        ++factoryResets_;
        return answerReport(code, kStatusOk);
    case command::BeginRead:
        return answerReport(code, kStatusOk);
    default:
        break;
    }
    if (kept_.count(code)) {
        kept_[code] = {body[3], parametersOf(body)};
        return answerReport(code, kStatusOk);
    }
    const std::uint8_t writeCode = static_cast<std::uint8_t>(code - 0x10);
    if (code >= command::GetReportRate && code <= command::GetPower && kept_.count(writeCode)) {
        return withData(code, kept_[writeCode]);
    }
    return answerReport(code, kStatusRejected);
}

} // namespace corvane::vm
