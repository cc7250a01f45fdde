#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "protocol/codec/BindingType.h"
#include "protocol/codec/ButtonTable.h"

namespace corvane::protocol::testing {
namespace {

using store::ButtonBinding;
using store::MacroDefinition;

ButtonBinding binding(int keyCode, BindingType type, int value, int value2 = 0) {
    ButtonBinding b;
    b.keyCode = keyCode;
    b.macroType = static_cast<int>(type);
    b.macroValue = value;
    b.macroValue2 = value2;
    return b;
}

// Macros by id, as the store would find them.
MacroLookup macrosOf(std::map<int, MacroDefinition> macros) {
    return [macros](int id, MacroDefinition& macro) {
        auto it = macros.find(id);
        if (it == macros.end()) {
            return false;
        }
        macro = it->second;
        return true;
    };
}

MacroDefinition macro(int id, int playType, int playTimes) {
    MacroDefinition m;
    m.id = id;
    m.playType = playType;
    m.playTimes = playTimes;
    return m;
}

ButtonEntry entryOf(const ButtonTable& table, int button) {
    return {table[3 * button], table[3 * button + 1], table[3 * button + 2]};
}

ButtonEntry single(const ButtonBinding& b, const MacroLookup& macros = {}) {
    return entryOf(buildButtonTable(std::vector<ButtonBinding>{b}, macros), b.keyCode);
}

TEST(ButtonTable, AProfileWithoutBindingsSendsTheDefaultTable) {
    const ReportPacket packet = encodeSetButtons(buildButtonTable({}, {}));
    EXPECT_EQ(packet.command(), Command::SetButtons);
    EXPECT_EQ(packet.size(), 0x0F);
    EXPECT_EQ(packet.writeLength(), 33u);
    const int expected[] = {0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00,
                            0x10, 0x08, 0x00, 0x10, 0x10, 0x00, 0x40, 0x01, 0x00};
    for (int b = 4; b <= 30; ++b) {
        const int want = b <= 21 ? expected[b - 4] : 0;
        EXPECT_EQ(packet.parameter(b), want) << "B" << b;
    }
}

TEST(ButtonTable, EncodesEachKindOfFunction) {
    struct Case {
        ButtonBinding binding;
        ButtonEntry entry;
    };
    using T = BindingType;
    const Case cases[] = {
        {binding(2, T::MouseFunction, 1), {0x10, 0x01, 0x00}},
        {binding(2, T::MouseFunction, 2), {0x10, 0x04, 0x00}},
        {binding(2, T::MouseFunction, 3), {0x10, 0x02, 0x00}},
        {binding(2, T::MouseFunction, 4), {0x30, 0x32, 0x03}},
        {binding(2, T::MouseFunction, 5), {0x10, 0x10, 0x00}},
        {binding(2, T::MouseFunction, 6), {0x10, 0x08, 0x00}},
        {binding(2, T::MouseFunction, 7), {0x20, 0x01, 0x00}},
        {binding(2, T::MouseFunction, 8), {0x20, 0xFF, 0x00}},
        {binding(2, T::MouseFunction, 9), {0x10, 0x00, 0xF5}},
        {binding(2, T::MouseFunction, 10), {0x10, 0x00, 0xF6}},
        {binding(2, T::MouseFunction, 11), {0x10, 0x00, 0x00}},
        {binding(1, T::KeyboardKey, 225, 0), {0x70, 0x02, 0x00}},    // left Shift alone
        {binding(1, T::KeyboardKey, 231, 0), {0x70, 0x80, 0x00}},    // right Windows alone
        {binding(1, T::KeyboardKey, 4, 0x01), {0x70, 0x01, 0x04}},   // Ctrl + A
        {binding(1, T::KeyboardKey, 225, 0x01), {0x70, 0x01, 0xE1}}, // Ctrl + Shift key
        {binding(1, T::KeyboardKey, 0, 0x01), {0x70, 0x01, 0x00}},   // Ctrl alone
        {binding(3, T::MediaFunction, 1), {0x80, 0x83, 0x01}},
        {binding(3, T::MediaFunction, 2), {0x80, 0xCD, 0x00}},
        {binding(3, T::MediaFunction, 3), {0x80, 0xB7, 0x00}},
        {binding(3, T::MediaFunction, 4), {0x80, 0xB6, 0x00}},
        {binding(3, T::MediaFunction, 5), {0x80, 0xB5, 0x00}},
        {binding(3, T::MediaFunction, 6), {0x80, 0xE9, 0x00}},
        {binding(3, T::MediaFunction, 7), {0x80, 0xEA, 0x00}},
        {binding(3, T::MediaFunction, 8), {0x80, 0xE2, 0x00}},
        {binding(3, T::MediaFunction, 9), {0x80, 0x00, 0x00}},
        {binding(4, T::DpiFunction, 1), {0x40, 0x02, 0x00}},
        {binding(4, T::DpiFunction, 2), {0x40, 0x03, 0x00}},
        {binding(4, T::DpiFunction, 3), {0x40, 0x01, 0x00}},
        {binding(4, T::DpiFunction, 4), {0x40, 0x00, 0x00}},
        {binding(7, T::RepeatFunction, 50, 3), {0x30, 0x32, 0x03}},
        {binding(7, T::RepeatFunction, 255, 0), {0x30, 0xFF, 0x00}},
        {binding(8, T::SystemFunction, 1), {0x80, 0x6F, 0x00}},
        {binding(8, T::SystemFunction, 2), {0x80, 0x70, 0x00}},
        {binding(8, T::SystemFunction, 3), {0x80, 0x92, 0x01}},
        {binding(8, T::SystemFunction, 4), {0x80, 0x94, 0x01}},
        {binding(8, T::SystemFunction, 5), {0x80, 0x23, 0x02}},
        {binding(8, T::SystemFunction, 6), {0x80, 0x8A, 0x01}},
        {binding(8, T::SystemFunction, 7), {0x70, 0x08, 0x07}},
        {binding(8, T::SystemFunction, 8), {0x70, 0x08, 0x2B}},
        {binding(8, T::SystemFunction, 9), {0x70, 0x01, 0x06}},
        {binding(8, T::SystemFunction, 10), {0x70, 0x01, 0x19}},
        {binding(8, T::SystemFunction, 11), {0x70, 0x01, 0x1B}},
        {binding(8, T::SystemFunction, 12), {0x80, 0x00, 0x00}},
        {binding(0, T::Disabled, 1), {0x60, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(single(c.binding), c.entry)
            << "type " << c.binding.macroType << ", value " << c.binding.macroValue;
    }
}

TEST(ButtonTable, DeviceFunctionsKeepTheBytesTheyDoNotSet) {
    // Button 5's default entry is 40 01 00, button 6 has none.
    EXPECT_EQ(single(binding(5, BindingType::DeviceFunction, 1)), (ButtonEntry{0x60, 0x04, 0x00}));
    EXPECT_EQ(single(binding(0, BindingType::DeviceFunction, 2)), (ButtonEntry{0x60, 0x01, 0x00}));
    EXPECT_EQ(single(binding(2, BindingType::DeviceFunction, 3)), (ButtonEntry{0x60, 0x04, 0x00}));
    EXPECT_EQ(single(binding(6, BindingType::DeviceFunction, 6)), (ButtonEntry{0x60, 0x00, 0x00}));
}

TEST(ButtonTable, MacroCallsCarryTheButtonAndThePlayMode) {
    const MacroLookup macros = macrosOf({{1, macro(1, 0, 3)},
                                         {2, macro(2, 1, 1)},
                                         {3, macro(3, 2, 1)},
                                         {4, macro(4, 3, 1)},
                                         {5, macro(5, 0, 0)},
                                         {6, macro(6, 0, 999)},
                                         {7, macro(7, 7, 4)}});
    struct Case {
        int macroId;
        ButtonEntry entry;
    };
    const Case cases[] = {
        {1, {0x90, 0x22, 0x03}}, // played 3 times
        {2, {0x90, 0x12, 0x00}}, // play type 1
        {3, {0x90, 0x42, 0x00}}, // play type 2
        {4, {0x90, 0x12, 0x00}}, // play type 3
        {5, {0x90, 0x02, 0x00}}, // no count
        {6, {0x90, 0x22, 0xFF}}, // a count above 255 plays 255 times, not 999 mod 256
        {7, {0x90, 0x22, 0x04}}, // other play types count too
    };
    for (const Case& c : cases) {
        EXPECT_EQ(single(binding(2, BindingType::MacroCall, c.macroId), macros), c.entry)
            << "macro " << c.macroId;
    }
}

TEST(ButtonTable, ABindingWhoseMacroIsGoneKeepsTheDefaultEntry) {
    const MacroLookup macros = macrosOf({{1, macro(1, 0, 1)}});
    EXPECT_EQ(single(binding(3, BindingType::MacroCall, 9), macros),
              (ButtonEntry{0x10, 0x08, 0x00}));
    EXPECT_EQ(single(binding(6, BindingType::MacroCall, 9), macros),
              (ButtonEntry{0x00, 0x00, 0x00}));
    EXPECT_EQ(single(binding(3, BindingType::MacroCall, 9)), (ButtonEntry{0x10, 0x08, 0x00}))
        << "no lookup at all";
}

TEST(ButtonTable, UnknownTypesAndKeysOutsideTheTableChangeNothing) {
    const ButtonTable defaults = defaultButtonTable();
    std::vector<ButtonBinding> bindings{
        binding(1, static_cast<BindingType>(0), 5), binding(2, static_cast<BindingType>(10), 5),
        binding(-1, BindingType::Disabled, 1), binding(21, BindingType::Disabled, 1),
        binding(1000, BindingType::Disabled, 1)};
    EXPECT_EQ(buildButtonTable(bindings, {}), defaults);

    bindings.push_back(binding(20, BindingType::Disabled, 1));
    const ButtonTable table = buildButtonTable(bindings, {});
    EXPECT_EQ(entryOf(table, 20), (ButtonEntry{0x60, 0x00, 0x00}));
    EXPECT_EQ(table[63], 0x00);
    EXPECT_EQ(table[64], 0x00);
}

TEST(ButtonTable, OnlyTheFirstNineButtonsAreSent) {
    const ButtonTable table =
        buildButtonTable(std::vector<ButtonBinding>{binding(8, BindingType::Disabled, 1),
                                                    binding(9, BindingType::MediaFunction, 6)},
                         {});
    EXPECT_EQ(entryOf(table, 9), (ButtonEntry{0x80, 0xE9, 0x00}));
    const ReportPacket packet = encodeSetButtons(table);
    EXPECT_EQ(packet.parameter(28), 0x60);
    EXPECT_EQ(packet.parameter(29), 0x00);
    EXPECT_EQ(packet.parameter(30), 0x00);
}

} // namespace
} // namespace corvane::protocol::testing
