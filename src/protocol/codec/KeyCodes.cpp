#include "protocol/codec/KeyCodes.h"

#include <array>

namespace corvane::protocol {

namespace {

// A run of virtual-key codes whose usages are consecutive too.
struct KeyRun {
    int firstKey;
    int lastKey;
    int firstUsage;
};

constexpr auto kKeyRuns = std::to_array<KeyRun>({
    {65, 90, 4},     // A..Z
    {49, 57, 30},    // 1..9
    {48, 48, 39},    // 0
    {13, 13, 40},    // Enter
    {27, 27, 41},    // Escape
    {8, 8, 42},      // Backspace
    {9, 9, 43},      // Tab
    {32, 32, 44},    // Space
    {189, 189, 45},  // - _
    {187, 187, 46},  // = +
    {219, 219, 47},  // [ {
    {221, 221, 48},  // ] }
    {220, 220, 49},  // \ |
    {666, 666, 50},  // the non-US hash key (the program's own code)
    {186, 186, 51},  // ; :
    {222, 222, 52},  // ' "
    {192, 192, 53},  // ` ~
    {188, 188, 54},  // , <
    {190, 190, 55},  // . >
    {191, 191, 56},  // / ?
    {20, 20, 57},    // Caps Lock
    {112, 123, 58},  // F1..F12
    {124, 135, 104}, // F13..F24
    {44, 44, 70},    // Print Screen
    {145, 145, 71},  // Scroll Lock
    {19, 19, 72},    // Pause
    {45, 45, 73},    // Insert
    {36, 36, 74},    // Home
    {33, 33, 75},    // Page Up
    {46, 46, 76},    // Delete
    {35, 35, 77},    // End
    {34, 34, 78},    // Page Down
    {39, 39, 79},    // Right
    {37, 37, 80},    // Left
    {40, 40, 81},    // Down
    {38, 38, 82},    // Up
    {144, 144, 83},  // Num Lock
    {111, 111, 84},  // keypad /
    {106, 106, 85},  // keypad *
    {109, 109, 86},  // keypad -
    {107, 107, 87},  // keypad +
    {108, 108, 88},  // keypad separator (Enter)
    {97, 105, 89},   // keypad 1..9
    {96, 96, 98},    // keypad 0
    {110, 110, 99},  // keypad .
    {162, 162, 224}, // left Ctrl
    {160, 160, 225}, // left Shift
    {164, 164, 226}, // left Alt
    {91, 91, 227},   // left Windows
    {163, 163, 228}, // right Ctrl
    {161, 161, 229}, // right Shift
    {165, 165, 230}, // right Alt
    {92, 92, 231},   // right Windows
    {93, 93, 101},   // Applications
    {226, 226, 100}, // the key beside left Shift on ISO keyboards
    {254, 254, 175}, // OEM Clear
    {301, 301, 236}, // the program's own code
    {302, 302, 235}, // the program's own code
});

// 136..139 pass through unchanged.
constexpr KeyRun kPassThrough{136, 139, 136};

struct Modifier {
    int virtualKey;
    int usage;
    int mask;
};

constexpr auto kModifiers = std::to_array<Modifier>({
    {162, 224, 0x01}, // left Ctrl
    {160, 225, 0x02}, // left Shift
    {164, 226, 0x04}, // left Alt
    {91, 227, 0x08},  // left Windows
    {163, 228, 0x10}, // right Ctrl
    {161, 229, 0x20}, // right Shift
    {165, 230, 0x40}, // right Alt
    {92, 231, 0x80},  // right Windows
});

bool inRun(const KeyRun& run, int key) {
    return key >= run.firstKey && key <= run.lastKey;
}

} // namespace

int keyUsage(int virtualKey) {
    if (inRun(kPassThrough, virtualKey)) {
        return virtualKey;
    }
    for (const KeyRun& run : kKeyRuns) {
        if (inRun(run, virtualKey)) {
            return run.firstUsage + (virtualKey - run.firstKey);
        }
    }
    return 0;
}

int modifierMask(int code) {
    for (const Modifier& modifier : kModifiers) {
        if (code == modifier.virtualKey || code == modifier.usage) {
            return modifier.mask;
        }
    }
    return code;
}

bool isModifierKey(int virtualKey) {
    for (const Modifier& modifier : kModifiers) {
        if (virtualKey == modifier.virtualKey) {
            return true;
        }
    }
    return false;
}

bool isModifierUsage(int usage) {
    return usage >= 0xE0 && usage <= 0xE7;
}

} // namespace corvane::protocol
