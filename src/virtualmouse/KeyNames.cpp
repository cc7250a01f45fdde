#include "virtualmouse/HeldSettings.h"

#include <cstdio>
#include <utility>

namespace corvane::vm {

namespace {

// Keys of the keyboard page whose names are not a run of letters, digits or F-keys.
constexpr std::pair<std::uint8_t, const char*> kNamedKeys[] = {
    {40, "Enter"},
    {41, "Escape"},
    {42, "Backspace"},
    {43, "Tab"},
    {44, "Space"},
    {45, "-"},
    {46, "="},
    {47, "["},
    {48, "]"},
    {49, "\\"},
    {50, "#"},
    {51, ";"},
    {52, "'"},
    {53, "`"},
    {54, ","},
    {55, "."},
    {56, "/"},
    {57, "Caps Lock"},
    {70, "Print Screen"},
    {71, "Scroll Lock"},
    {72, "Pause"},
    {73, "Insert"},
    {74, "Home"},
    {75, "Page Up"},
    {76, "Delete"},
    {77, "End"},
    {78, "Page Down"},
    {79, "Right"},
    {80, "Left"},
    {81, "Down"},
    {82, "Up"},
    {83, "Num Lock"},
    {84, "Keypad /"},
    {85, "Keypad *"},
    {86, "Keypad -"},
    {87, "Keypad +"},
    {88, "Keypad Enter"},
    {98, "Keypad 0"},
    {99, "Keypad ."},
    {100, "Non-US \\"},
    {101, "Menu"},
    {224, "Ctrl"},
    {225, "Shift"},
    {226, "Alt"},
    {227, "Super"},
    {228, "Right Ctrl"},
    {229, "Right Shift"},
    {230, "Right Alt"},
    {231, "Right Super"},
};

std::string hexName(const char* prefix, unsigned value, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%s0x%0*X", prefix, digits, value);
    return text;
}

} // namespace

std::string keyName(std::uint8_t usage) {
    if (usage >= 4 && usage <= 29)
        return std::string(1, static_cast<char>('A' + usage - 4));
    if (usage >= 30 && usage <= 38)
        return std::string(1, static_cast<char>('1' + usage - 30));
    if (usage == 39)
        return "0";
    if (usage >= 58 && usage <= 69)
        return "F" + std::to_string(usage - 57);
    if (usage >= 104 && usage <= 115)
        return "F" + std::to_string(usage - 91);
    if (usage >= 89 && usage <= 97)
        return "Keypad " + std::to_string(usage - 88);
    for (const auto& [code, name] : kNamedKeys) {
        if (code == usage)
            return name;
    }
    return hexName("usage ", usage, 2);
}

} // namespace corvane::vm
