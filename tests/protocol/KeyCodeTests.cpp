#include <gtest/gtest.h>

#include "protocol/codec/KeyCodes.h"

namespace corvane::protocol::testing {
namespace {

struct KeyCase {
    int virtualKey;
    int usage;
    const char* name;
};

constexpr KeyCase kKeys[] = {
    {65, 4, "A"},
    {77, 16, "M"},
    {90, 29, "Z"},
    {49, 30, "1"},
    {57, 38, "9"},
    {48, 39, "0"},
    {13, 40, "Enter"},
    {27, 41, "Escape"},
    {8, 42, "Backspace"},
    {9, 43, "Tab"},
    {32, 44, "Space"},
    {189, 45, "minus"},
    {187, 46, "equals"},
    {219, 47, "["},
    {221, 48, "]"},
    {220, 49, "backslash"},
    {666, 50, "non-US #"},
    {186, 51, ";"},
    {222, 52, "quote"},
    {192, 53, "grave"},
    {188, 54, ","},
    {190, 55, "."},
    {191, 56, "/"},
    {20, 57, "Caps Lock"},
    {112, 58, "F1"},
    {123, 69, "F12"},
    {124, 104, "F13"},
    {135, 115, "F24"},
    {44, 70, "Print Screen"},
    {145, 71, "Scroll Lock"},
    {19, 72, "Pause"},
    {45, 73, "Insert"},
    {36, 74, "Home"},
    {33, 75, "Page Up"},
    {46, 76, "Delete"},
    {35, 77, "End"},
    {34, 78, "Page Down"},
    {39, 79, "Right"},
    {37, 80, "Left"},
    {40, 81, "Down"},
    {38, 82, "Up"},
    {144, 83, "Num Lock"},
    {111, 84, "keypad /"},
    {106, 85, "keypad *"},
    {109, 86, "keypad -"},
    {107, 87, "keypad +"},
    {108, 88, "keypad separator"},
    {97, 89, "keypad 1"},
    {105, 97, "keypad 9"},
    {96, 98, "keypad 0"},
    {110, 99, "keypad ."},
    {162, 224, "left Ctrl"},
    {160, 225, "left Shift"},
    {164, 226, "left Alt"},
    {91, 227, "left Windows"},
    {163, 228, "right Ctrl"},
    {161, 229, "right Shift"},
    {165, 230, "right Alt"},
    {92, 231, "right Windows"},
    {93, 101, "Applications"},
    {226, 100, "OEM 102"},
    {254, 175, "254"},
    {301, 236, "301"},
    {302, 235, "302"},
    {136, 136, "136"},
    {139, 139, "139"},
    // Codes without a usage.
    {0, 0, "none"},
    {1, 0, "mouse button"},
    {16, 0, "generic Shift"},
    {17, 0, "generic Ctrl"},
    {18, 0, "generic Alt"},
    {140, 0, "140"},
    {255, 0, "255"},
    {-1, 0, "-1"},
    {100000, 0, "large"},
};

TEST(KeyUsage, TranslatesVirtualKeysToKeyboardUsages) {
    for (const KeyCase& key : kKeys) {
        EXPECT_EQ(keyUsage(key.virtualKey), key.usage) << key.name << " (" << key.virtualKey << ")";
    }
}

TEST(ModifierMask, TakesVirtualKeysAndUsages) {
    struct Case {
        int virtualKey;
        int usage;
        int mask;
    };
    const Case modifiers[] = {
        {162, 224, 0x01}, {160, 225, 0x02}, {164, 226, 0x04}, {91, 227, 0x08},
        {163, 228, 0x10}, {161, 229, 0x20}, {165, 230, 0x40}, {92, 231, 0x80},
    };
    for (const Case& c : modifiers) {
        EXPECT_EQ(modifierMask(c.virtualKey), c.mask) << c.virtualKey;
        EXPECT_EQ(modifierMask(c.usage), c.mask) << c.usage;
        EXPECT_TRUE(isModifierKey(c.virtualKey)) << c.virtualKey;
        EXPECT_TRUE(isModifierUsage(c.usage)) << c.usage;
        EXPECT_EQ(keyUsage(c.virtualKey), c.usage) << "keyUsage agrees with the modifier table";
    }
    for (int other : {0, 4, 16, 17, 65, 159, 166, 232, 300}) {
        EXPECT_EQ(modifierMask(other), other) << other;
    }
    for (int key : {16, 17, 18, 65, 93, 159, 166, 224}) {
        EXPECT_FALSE(isModifierKey(key)) << key;
    }
    EXPECT_FALSE(isModifierUsage(0xDF));
    EXPECT_FALSE(isModifierUsage(0xE8));
}

} // namespace
} // namespace corvane::protocol::testing
