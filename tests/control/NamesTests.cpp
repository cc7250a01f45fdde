// corvanectl's names for values, keys and functions, and the descriptions the button
// page stores for them.
#include "control/names/BindingCatalog.h"
#include "control/names/BindingRules.h"
#include "control/names/FunctionNames.h"
#include "control/names/KeyNames.h"
#include "control/names/ValueText.h"

#include <gtest/gtest.h>

namespace corvane::control {
namespace {

QString textOf(int id) {
    return QStringLiteral("T%1").arg(id);
}

TEST(ValueText, ColoursAreWrittenRgbAndStoredWithRedInTheLowByte) {
    EXPECT_EQ(parseColour(u"#FF0000"), 0x0000FF);
    EXPECT_EQ(parseColour(u"0000ff"), 0xFF0000);
    EXPECT_EQ(parseColour(u"#20A3FF"), 0xFFA320);
    EXPECT_EQ(colourText(0xFFA320), QStringLiteral("#20A3FF"));
    EXPECT_EQ(colourText(0), QStringLiteral("#000000"));
    for (const char16_t* bad : {u"#FFF", u"#GG0000", u"#-10000", u"#+10000", u"", u"#1234567"})
        EXPECT_FALSE(parseColour(bad)) << QString::fromUtf16(bad).toStdString();
}

TEST(ValueText, NumbersAndSwitchesAreWholeWords) {
    EXPECT_EQ(parseNumber(u"800"), 800);
    EXPECT_EQ(parseNumber(u"-2"), -2);
    for (const char16_t* bad : {u"", u"8 00", u"800dpi", u"1.5", u"-", u"99999999999", u"0x10"})
        EXPECT_FALSE(parseNumber(bad)) << QString::fromUtf16(bad).toStdString();
    EXPECT_EQ(parseSwitch(u"ON"), true);
    EXPECT_EQ(parseSwitch(u"no"), false);
    EXPECT_FALSE(parseSwitch(u"maybe"));
}

TEST(KeyNames, EveryNamedUsageIsFoundByItsName) {
    int named = 0;
    for (int usage = 0; usage < 256; ++usage) {
        const std::optional<KeyboardKeyName> key = keyboardKeyByUsage(usage);
        if (!key)
            continue;
        ++named;
        EXPECT_EQ(keyboardKeyByName(key->name)->usage, usage) << key->name.toStdString();
    }
    EXPECT_GE(named, 100);
    EXPECT_EQ(keyboardKeyByName(u"A")->usage, 4);
    EXPECT_EQ(keyboardKeyByName(u"f13")->usage, 104);
    EXPECT_EQ(keyboardKeyByName(u"kp-0")->label, QStringLiteral("Num 0"));
    EXPECT_EQ(mouseKeyName(148, 5), QStringLiteral("dpi"));
    EXPECT_EQ(mouseKeyName(999, 9), QStringLiteral("key9"));
}

TEST(FunctionNames, EveryNamedCatalogueEntryRoundTripsWithThePagesLabel) {
    int named = 0;
    for (const CatalogEntry& entry : bindingCatalog()) {
        if (!entry.name)
            continue; // keyboard, macro and repeat names carry their values
        ++named;
        const QString name = QLatin1String(entry.name);
        const ParsedFunction parsed = parseFunction(name, {}, textOf);
        ASSERT_TRUE(parsed.ok) << entry.name;
        EXPECT_EQ(parsed.type, entry.type);
        // The disable toggle stores 1; every other entry its own value.
        EXPECT_EQ(parsed.value, entry.type == 9 ? 1 : entry.value) << entry.name;
        EXPECT_EQ(parsed.description,
                  entry.labelText ? textOf(entry.labelText) : QString::fromUtf16(entry.literal));
        EXPECT_EQ(functionName(parsed.type, parsed.value, parsed.value2, {}), name);
    }
    EXPECT_EQ(named, 39);
}

TEST(FunctionNames, ParameterisedFunctions) {
    const std::vector<store::MacroDefinition> macros = {{7, QStringLiteral("Reload"), 0, 1, 1, 0}};
    struct Case {
        const char16_t* name;
        int type, value, value2;
        const char* description;
        const char16_t* canonical;
    };
    const Case cases[] = {
        // The keyboard sub-panel's text: Shift, Ctrl, Win, Alt, the first plain and each
        // further one as "+ X" right behind it, then " + " and the key.
        {u"key:ctrl+shift+alt+a", 2, 4, 7, "Shift+ Ctrl+ Alt + A", u"key:ctrl+shift+alt+a"},
        {u"key:win+F5", 2, 62, 8, "Win + F5", u"key:win+f5"},
        {u"key:ctrl", 2, 0, 1, "Ctrl", u"key:ctrl"},
        {u"key:page-up", 2, 75, 0, "Page Up", u"key:page-up"},
        // repeat:COUNT,INTERVAL keeps the interval in macro_value and the count in value2.
        {u"repeat:3,50", 7, 50, 3, "T182", u"repeat:3,50"},
        {u"macro:Reload", 4, 7, 0, "Reload", u"macro:Reload"},
    };
    for (const Case& c : cases) {
        const ParsedFunction parsed = parseFunction(c.name, macros, textOf);
        ASSERT_TRUE(parsed.ok) << QString::fromUtf16(c.name).toStdString()
                               << parsed.error.toStdString();
        EXPECT_EQ(parsed.type, c.type);
        EXPECT_EQ(parsed.value, c.value);
        EXPECT_EQ(parsed.value2, c.value2);
        EXPECT_EQ(parsed.description, QString::fromUtf8(c.description));
        EXPECT_EQ(functionName(c.type, c.value, c.value2, macros), QString::fromUtf16(c.canonical));
    }
    EXPECT_EQ(functionName(4, 99, 0, macros), QStringLiteral("code:4,99,0")) << "a deleted macro";
    EXPECT_EQ(functionName(12, 1, 2, macros), QStringLiteral("code:12,1,2"));
}

TEST(FunctionNames, RefusedNamesSayWhy) {
    for (const char16_t* bad : {u"key:", u"key:a+b", u"key:hyper", u"repeat:3", u"repeat:256,50",
                                u"repeat:3,4", u"macro:Nope", u"mouse:sideways", u"left"}) {
        const ParsedFunction parsed = parseFunction(bad, {}, textOf);
        EXPECT_FALSE(parsed.ok) << QString::fromUtf16(bad).toStdString();
        EXPECT_FALSE(parsed.error.isEmpty());
    }
}

// What a key of the mouse may hold: what the page and corvanectl can give, and nothing
// that would land in another key's slot or go out as garbage.
TEST(BindingRules, KeysAndFunctionsTheMouseCanHold) {
    std::vector<catalog::KeyEntry> keys(5);
    for (int i = 0; i < 5; ++i)
        keys[std::size_t(i)].keyValue = i;
    struct Case {
        int key, type, value, value2;
        bool takes;
    };
    const Case cases[] = {
        {1, 1, 3, 0, true},        // mouse:right
        {1, 1, 11, 0, false},      // no such mouse function
        {2, 2, 0x06, 0x01, true},  // key:ctrl+c
        {2, 2, 0, 0x02, true},     // a modifier alone
        {2, 2, 0, 0, false},       // neither key nor modifier
        {2, 2, 0x104, 0, false},   // a usage beyond one byte
        {2, 2, 0x06, 0x10, false}, // a modifier bit that does not exist
        {3, 3, 8, 0, true},        // media:mute
        {3, 4, 7, 0, true},        // a macro (whether it is stored is the importer's to check)
        {3, 4, 0, 0, false},       {3, 5, 4, 0, false},  // no such DPI function
        {3, 7, 50, 3, true},                             // repeat 3 times, 50 ms apart
        {3, 7, 4, 3, false},                             // an interval below 5 ms
        {3, 7, 50, 256, false},                          // a count beyond one byte
        {4, 9, 1, 0, true},                              // disable
        {4, 9, 7, 0, false},       {4, 42, 1, 0, false}, // no such type
        {4, -1, 1, 0, false},      {0, 1, 3, 0, false},  // the primary key keeps its function
        {257, 4, 7, 0, false},                           // no such key (its low byte is key 1)
        {-1, 1, 3, 0, false},      {5, 1, 3, 0, false},  // a key this mouse does not have
    };
    for (const Case& c : cases) {
        store::ButtonBinding binding;
        binding.keyCode = c.key;
        binding.macroType = c.type;
        binding.macroValue = c.value;
        binding.macroValue2 = c.value2;
        EXPECT_EQ(isAssignableBinding(binding, keys), c.takes)
            << c.key << " " << c.type << " " << c.value << " " << c.value2;
    }
}

} // namespace
} // namespace corvane::control
