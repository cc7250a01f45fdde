#include "protocol/codec/ButtonTable.h"

#include <algorithm>
#include <vector>

#include "protocol/codec/BindingType.h"
#include "protocol/codec/KeyCodes.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol {

namespace {

// One fixed entry per function value of a binding type.
struct ValueEntry {
    int value;
    ButtonEntry entry;
};

constexpr auto kDefaultEntries = std::to_array<ButtonEntry>({
    {0x10, 0x01, 0x00}, // mouse button 1 (left)
    {0x10, 0x02, 0x00}, // mouse button 2 (right)
    {0x10, 0x04, 0x00}, // mouse button 3 (middle)
    {0x10, 0x08, 0x00}, // mouse button 4
    {0x10, 0x10, 0x00}, // mouse button 5
    {0x40, 0x01, 0x00}, // DPI function 1
});

constexpr auto kMouseFunctions = std::to_array<ValueEntry>({
    {1, {0x10, 0x01, 0x00}},  // button 1 (left)
    {2, {0x10, 0x04, 0x00}},  // button 3 (middle)
    {3, {0x10, 0x02, 0x00}},  // button 2 (right)
    {4, {0x30, 0x32, 0x03}},  // the repeat function with 50 and 3
    {5, {0x10, 0x10, 0x00}},  // button 5 (forward)
    {6, {0x10, 0x08, 0x00}},  // button 4 (back)
    {7, {0x20, 0x01, 0x00}},  // wheel up
    {8, {0x20, 0xFF, 0x00}},  // wheel down
    {9, {0x10, 0x00, 0xF5}},  // mouse-button code 0xF5
    {10, {0x10, 0x00, 0xF6}}, // mouse-button code 0xF6
});
constexpr ButtonEntry kMouseOther{0x10, 0x00, 0x00};

// Consumer-control usages, little-endian.
constexpr auto kMediaFunctions = std::to_array<ValueEntry>({
    {1, {0x80, 0x83, 0x01}}, // AL Consumer Control Configuration
    {2, {0x80, 0xCD, 0x00}}, // Play/Pause
    {3, {0x80, 0xB7, 0x00}}, // Stop
    {4, {0x80, 0xB6, 0x00}}, // Scan Previous Track
    {5, {0x80, 0xB5, 0x00}}, // Scan Next Track
    {6, {0x80, 0xE9, 0x00}}, // Volume Increment
    {7, {0x80, 0xEA, 0x00}}, // Volume Decrement
    {8, {0x80, 0xE2, 0x00}}, // Mute
});
constexpr ButtonEntry kMediaOther{0x80, 0x00, 0x00};

constexpr auto kDpiFunctions = std::to_array<ValueEntry>({
    {1, {0x40, 0x02, 0x00}}, // DPI +
    {2, {0x40, 0x03, 0x00}}, // DPI -
    {3, {0x40, 0x01, 0x00}}, // the DPI button's own function
});
constexpr ButtonEntry kDpiOther{0x40, 0x00, 0x00};

constexpr auto kSystemFunctions = std::to_array<ValueEntry>({
    {1, {0x80, 0x6F, 0x00}},  // Display Brightness Increment
    {2, {0x80, 0x70, 0x00}},  // Display Brightness Decrement
    {3, {0x80, 0x92, 0x01}},  // AL Calculator
    {4, {0x80, 0x94, 0x01}},  // AL Local Machine Browser
    {5, {0x80, 0x23, 0x02}},  // AC Home
    {6, {0x80, 0x8A, 0x01}},  // AL Email Reader
    {7, {0x70, 0x08, 0x07}},  // left GUI + d
    {8, {0x70, 0x08, 0x2B}},  // left GUI + Tab
    {9, {0x70, 0x01, 0x06}},  // left Ctrl + c
    {10, {0x70, 0x01, 0x19}}, // left Ctrl + v
    {11, {0x70, 0x01, 0x1B}}, // left Ctrl + x
});
constexpr ButtonEntry kSystemOther{0x80, 0x00, 0x00};

constexpr ButtonEntry kDisabledEntry{0x60, 0x00, 0x00};

// Device functions set byte 1 for these values only; the rest of the entry stays.
constexpr std::uint8_t kDeviceFunctionByte0 = 0x60;
struct DeviceCode {
    int value;
    std::uint8_t byte1;
};
constexpr auto kDeviceFunctions = std::to_array<DeviceCode>({{1, 0x04}, {2, 0x01}});

// Macro call: 0x90, the button index with the play-mode bits, the play count.
constexpr std::uint8_t kMacroCallByte0 = 0x90;
constexpr std::uint8_t kPlayUntilReleased = 0x10; // play types 1 and 3
constexpr std::uint8_t kPlayToggle = 0x40;        // play type 2
constexpr std::uint8_t kPlayCounted = 0x20;       // play type 0 with a count
constexpr int kMaxPlayTimes = 0xFF;

constexpr std::uint8_t kKeyboardByte0 = 0x70;
constexpr std::uint8_t kRepeatByte0 = 0x30;

template <std::size_t N>
ButtonEntry lookup(const std::array<ValueEntry, N>& table, int value, ButtonEntry other) {
    const auto* it = std::find_if(table.begin(), table.end(),
                                  [&](const ValueEntry& e) { return e.value == value; });
    return it == table.end() ? other : it->entry;
}

std::uint8_t low(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

ButtonEntry keyboardEntry(int usage, int modifiers) {
    if (modifiers == 0 && isModifierUsage(usage)) {
        return {kKeyboardByte0, low(modifierMask(usage)), 0x00};
    }
    return {kKeyboardByte0, low(modifiers), low(usage)};
}

ButtonEntry deviceEntry(int value, ButtonEntry previous) {
    ButtonEntry entry = previous;
    entry[0] = kDeviceFunctionByte0;
    for (const DeviceCode& code : kDeviceFunctions) {
        if (code.value == value) {
            entry[1] = code.byte1;
        }
    }
    return entry;
}

ButtonEntry macroEntry(int keyCode, int macroId, ButtonEntry previous, const MacroLookup& macros) {
    store::MacroDefinition macro;
    if (!macros || !macros(macroId, macro)) {
        return previous;
    }
    ButtonEntry entry{kMacroCallByte0, low(keyCode), 0x00};
    switch (macro.playType) {
    case 1:
    case 3:
        entry[1] |= kPlayUntilReleased;
        break;
    case 2:
        entry[1] |= kPlayToggle;
        break;
    default:
        if (macro.playTimes >= 1) {
            entry[1] |= kPlayCounted;
            // One byte carries the count: a larger count plays as often as it can.
            entry[2] = low(std::min(macro.playTimes, kMaxPlayTimes));
        }
        break;
    }
    return entry;
}

} // namespace

ButtonTable defaultButtonTable() {
    ButtonTable table{};
    for (std::size_t i = 0; i < kDefaultEntries.size(); ++i) {
        std::copy(kDefaultEntries[i].begin(), kDefaultEntries[i].end(),
                  table.begin() + i * kButtonEntryBytes);
    }
    return table;
}

ButtonEntry bindingEntry(const store::ButtonBinding& binding, ButtonEntry previous,
                         const MacroLookup& macros) {
    const int v = binding.macroValue;
    const int w = binding.macroValue2;
    switch (static_cast<BindingType>(binding.macroType)) {
    case BindingType::MouseFunction:
        return lookup(kMouseFunctions, v, kMouseOther);
    case BindingType::KeyboardKey:
        return keyboardEntry(v, w);
    case BindingType::MediaFunction:
        return lookup(kMediaFunctions, v, kMediaOther);
    case BindingType::MacroCall:
        return macroEntry(binding.keyCode, v, previous, macros);
    case BindingType::DpiFunction:
        return lookup(kDpiFunctions, v, kDpiOther);
    case BindingType::DeviceFunction:
        return deviceEntry(v, previous);
    case BindingType::RepeatFunction:
        return {kRepeatByte0, low(v), low(w)};
    case BindingType::SystemFunction:
        return lookup(kSystemFunctions, v, kSystemOther);
    case BindingType::Disabled:
        return kDisabledEntry;
    }
    return previous;
}

ButtonTable buildButtonTable(std::span<const store::ButtonBinding> bindings,
                             const MacroLookup& macros) {
    ButtonTable table = defaultButtonTable();
    for (const store::ButtonBinding& binding : bindings) {
        if (binding.keyCode < 0 || binding.keyCode >= kTableButtons) {
            continue;
        }
        auto* at = table.data() + binding.keyCode * kButtonEntryBytes;
        ButtonEntry previous{};
        std::copy(at, at + kButtonEntryBytes, previous.begin());
        const ButtonEntry entry = bindingEntry(binding, previous, macros);
        std::copy(entry.begin(), entry.end(), at);
    }
    return table;
}

ButtonTable buildButtonTable(int profile) {
    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    std::vector<store::ButtonBinding> bindings;
    db.listBindings(profile, bindings);
    return buildButtonTable(bindings, [&db](int macroId, store::MacroDefinition& macro) {
        return db.getMacro(macroId, macro);
    });
}

ReportPacket encodeSetButtons(const ButtonTable& table) {
    ReportPacket packet(Command::SetButtons);
    packet.setParameters(ReportPacket::kFirstParameter,
                         std::span<const std::uint8_t>(table.data(), kSentButtonTableBytes));
    return packet;
}

} // namespace corvane::protocol
