#include "virtualmouse/HeldSettings.h"

#include <cstdio>
#include <ostream>
#include <utility>

namespace corvane::vm {

namespace {

using Parameters = MouseSettings::Parameters;

// The firmware's rates by their code.
constexpr std::pair<int, int> kRatesByCode[] = {{8, 125},   {4, 250},   {2, 500},  {1, 1000},
                                                {16, 2000}, {32, 4000}, {64, 8000}};

// One stretch of a sensor's units: from `fromUnits` on, a stage runs at
// (units - offset) * step + base DPI.
struct UnitRange {
    std::uint8_t sensor;
    int fromUnits;
    int offset;
    int step;
    int base;
};
// Ranges of one sensor in rising order; a sensor not listed counts in 50 DPI steps
// from 50.
constexpr UnitRange kUnitRanges[] = {
    {0x11, 0, 0, 50, 0},       {0x11, 200, 100, 100, 0}, {0x11, 221, 208, 1000, 0},
    {0x05, 0, 0, 50, 0},       {0x05, 129, 64, 100, 0},  {0x19, 0, 0, 100, 0},
    {0x19, 160, 144, 1000, 0}, {0x25, 0, 0, 100, 0},     {0x25, 50, 40, 500, 0},
    {0x26, 0, 0, 100, 0},      {0x26, 50, 39, 500, 0},   {0x04, 0, 0, 100, 0},
    {0x04, 40, 31, 500, 0},    {0x10, 0, 0, 100, 0},     {0x12, 0, 0, 100, 0},
    {0x35, 0, 0, 100, 0},      {0x96, 0, 0, 50, 0},
};

// Mouse buttons by their bit, in the button and macro records.
constexpr std::pair<std::uint8_t, const char*> kMouseButtons[] = {
    {0x01, "left"}, {0x02, "right"}, {0x04, "middle"}, {0x08, "back"}, {0x10, "forward"}};
// Modifier keys by their bit.
constexpr std::pair<std::uint8_t, const char*> kModifiers[] = {
    {0x01, "Ctrl"},       {0x02, "Shift"},       {0x04, "Alt"},       {0x08, "Super"},
    {0x10, "Right Ctrl"}, {0x20, "Right Shift"}, {0x40, "Right Alt"}, {0x80, "Right Super"}};
// Consumer-control functions by their usage.
constexpr std::pair<int, const char*> kMediaFunctions[] = {
    {0x00E9, "volume up"},     {0x00EA, "volume down"},
    {0x00E2, "mute"},          {0x00CD, "play/pause"},
    {0x00B5, "next track"},    {0x00B6, "previous track"},
    {0x00B7, "stop"},          {0x0183, "media player"},
    {0x006F, "brightness up"}, {0x0070, "brightness down"},
    {0x0192, "calculator"},    {0x0194, "file browser"},
    {0x0223, "home"},          {0x018A, "mail"}};
constexpr std::pair<std::uint8_t, const char*> kDpiFunctions[] = {
    {0x01, "DPI cycle"}, {0x02, "DPI +"}, {0x03, "DPI -"}};

template <class Table> std::string namesOfBits(const Table& table, std::uint8_t bits) {
    std::string text;
    for (const auto& [bit, name] : table) {
        if (bits & bit)
            text += (text.empty() ? "" : "+") + std::string(name);
    }
    return text;
}

std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

// A colour as three bytes, red first.
std::string colourAt(const Parameters& p, std::size_t at) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", p[at], p[at + 1], p[at + 2]);
    return text;
}

int word(const Parameters& p, std::size_t at) {
    return p[at] | (p[at + 1] << 8);
}

Parameters parametersOf(const MouseSettings& settings, std::uint8_t writeCode) {
    const std::optional<MouseSettings::Kept> kept = settings.kept(writeCode);
    return kept ? kept->parameters : Parameters{};
}

std::string keyCombination(std::uint8_t modifiers, std::uint8_t usage) {
    std::string text = namesOfBits(kModifiers, modifiers);
    if (usage != 0)
        text += (text.empty() ? "" : "+") + keyName(usage);
    return text.empty() ? "none" : text;
}

std::string macroCall(std::uint8_t first, std::uint8_t second) {
    const std::string slot = "macro " + std::to_string(first & 0x0F);
    switch (first & 0xF0) {
    case 0x10:
        return slot + " while held";
    case 0x40:
        return slot + " until pressed again";
    case 0x20:
        return slot + " x" + std::to_string(second);
    default:
        return slot;
    }
}

} // namespace

std::ostream& operator<<(std::ostream& out, const MacroStep& step) {
    return out << '{' << step.action << ", " << step.delayMs << " ms}";
}

int dpiOfUnits(std::uint8_t sensorCode, int units) {
    const UnitRange* range = nullptr;
    for (const UnitRange& r : kUnitRanges) {
        if (r.sensor == sensorCode && units >= r.fromUnits)
            range = &r;
    }
    if (!range)
        return units * 50 + 50;
    return (units - range->offset) * range->step + range->base;
}

std::string readButtonFunction(std::uint8_t kind, std::uint8_t first, std::uint8_t second) {
    switch (kind) {
    case 0x10:
        if (second != 0)
            return "mouse code " + hex(second, 2);
        return first == 0 ? "mouse none" : "mouse " + namesOfBits(kMouseButtons, first);
    case 0x20:
        return first == 0x01 ? "wheel up" : first == 0xFF ? "wheel down" : "wheel " + hex(first, 2);
    case 0x30:
        return "repeat " + std::to_string(first) + "/" + std::to_string(second);
    case 0x40:
        for (const auto& [code, name] : kDpiFunctions) {
            if (code == first)
                return name;
        }
        return "DPI function " + hex(first, 2);
    case 0x60:
        return first == 0 && second == 0 ? "disabled" : "device function " + hex(first, 2);
    case 0x70:
        return "key " + keyCombination(first, second);
    case 0x80: {
        const int usage = first | (second << 8);
        for (const auto& [code, name] : kMediaFunctions) {
            if (code == usage)
                return std::string("media ") + name;
        }
        return "media " + hex(static_cast<unsigned>(usage), 4);
    }
    case 0x90:
        return macroCall(first, second);
    default:
        return "unknown " + hex(kind, 2) + " " + hex(first, 2) + " " + hex(second, 2);
    }
}

std::vector<MacroStep> readMacroSteps(const std::vector<std::uint8_t>& stream) {
    std::vector<MacroStep> steps;
    for (std::size_t at = 1; at + 4 <= stream.size(); at += 4) {
        const std::uint8_t action = stream[at];
        const std::uint8_t code = stream[at + 3];
        const bool up = (action & 0x80) != 0;
        std::string what;
        switch (action & 0x7F) {
        case 0x10:
            what = namesOfBits(kMouseButtons, code) + " button";
            break;
        case 0x20:
            what = namesOfBits(kModifiers, code);
            break;
        case 0x30:
            what = keyName(code);
            break;
        default:
            what = "action " + hex(action, 2);
            break;
        }
        steps.push_back({what + (up ? " up" : " down"), stream[at + 1] | (stream[at + 2] << 8)});
    }
    return steps;
}

HeldSettings readHeldSettings(const MouseSettings& settings, std::uint8_t sensorCode) {
    HeldSettings held;

    const Parameters dpi = parametersOf(settings, command::SetDpi);
    held.stageCount = dpi[0] & 0x0F;
    held.activeStage = dpi[0] >> 4;
    for (std::size_t k = 0; k < held.stageDpi.size(); ++k)
        held.stageDpi[k] = dpiOfUnits(sensorCode, word(dpi, 1 + 4 * k));

    const Parameters colours = parametersOf(settings, command::SetDpiColors);
    for (std::size_t k = 0; k < held.stageColour.size(); ++k)
        held.stageColour[k] = colourAt(colours, 3 * k);

    const int rateCode = parametersOf(settings, command::SetReportRate)[0];
    for (const auto& [code, hz] : kRatesByCode) {
        if (code == rateCode)
            held.reportRateHz = hz;
    }

    const Parameters sensor = parametersOf(settings, command::SetSensor);
    held.liftOffMm = sensor[0] == 1 || sensor[0] == 2 ? sensor[0] : 0;
    held.angleSnapping = sensor[1] == 1;
    held.rippleControl = sensor[2] == 1;

    const Parameters power = parametersOf(settings, command::SetPower);
    held.sleepSeconds = power[0] * 10;
    held.wakeOnMotion = power[1] == 1;
    held.lightOffWhileMoving = power[2] == 1;
    held.responseMs = power[3];

    const Parameters buttons = parametersOf(settings, command::SetButtons);
    for (std::size_t i = 0; i < held.buttons.size(); ++i)
        held.buttons[i] =
            readButtonFunction(buttons[3 * i], buttons[3 * i + 1], buttons[3 * i + 2]);

    if (const std::optional<MouseSettings::Kept> light = settings.kept(command::SetLighting)) {
        const Parameters& p = light->parameters;
        held.lighting.mode = p[0];
        held.lighting.brightness = p[1] >> 4;
        held.lighting.speed = p[1] & 0x0F;
        // The flowing effect carries a count of colours before them; the single-colour
        // effect one colour after the brightness byte.
        if (light->size == 0x18) {
            for (int k = 0; k < p[2] && 3 + 3 * k + 2 < static_cast<int>(p.size()); ++k)
                held.lighting.colours.push_back(colourAt(p, 3 + 3 * static_cast<std::size_t>(k)));
        } else if (light->size == 0x05) {
            held.lighting.colours.push_back(colourAt(p, 2));
        }
    }
    return held;
}

} // namespace corvane::vm
