#include "pages/keys/InputEventPrinter.h"

#include "pages/keys/KeyDecoding.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace corvane::pages {

namespace {

// Native scan codes are XKB keycodes: the kernel's key code + 8.
constexpr unsigned xkb(unsigned kernelCode) {
    return kernelCode + 8;
}

struct KeyCase {
    const char* label;
    int qtKey;
    unsigned scanCode;
    bool keypad;
    int virtualKey;
    const char16_t* name;
    const char16_t* text = u"";
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.label;
}

class KeyDecodingTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyDecodingTest, PressAndReleaseGiveTheKeyAndItsName) {
    const KeyCase& c = GetParam();
    const QString text = QString::fromUtf16(c.text);
    const InputEvent down = decodeKey(c.qtKey, c.scanCode, c.keypad, false, text);
    EXPECT_EQ(down, (InputEvent{InputKind::Keyboard, 0, c.virtualKey, QString::fromUtf16(c.name)}));
    const InputEvent up = decodeKey(c.qtKey, c.scanCode, c.keypad, true, text);
    EXPECT_EQ(up, (InputEvent{InputKind::Keyboard, 1, c.virtualKey, QString::fromUtf16(c.name)}));
}

// Kernel key codes (linux/input-event-codes.h) are written as numbers here on purpose: the
// table is checked against the codes themselves, not against the same constants.
INSTANTIATE_TEST_SUITE_P(
    Modifiers, KeyDecodingTest,
    ::testing::Values(KeyCase{"LeftShift", Qt::Key_Shift, xkb(42), false, 160, u"Shift"},
                      KeyCase{"RightShift", Qt::Key_Shift, xkb(54), false, 161, u"RShift"},
                      KeyCase{"LeftCtrl", Qt::Key_Control, xkb(29), false, 162, u"Ctrl"},
                      KeyCase{"RightCtrl", Qt::Key_Control, xkb(97), false, 163, u"RCtrl"},
                      KeyCase{"LeftAlt", Qt::Key_Alt, xkb(56), false, 164, u"Alt"},
                      KeyCase{"RightAltAsAltGr", Qt::Key_AltGr, xkb(100), false, 165, u"RAlt"},
                      KeyCase{"LeftWindows", Qt::Key_Super_L, xkb(125), false, 91, u"Windows"},
                      KeyCase{"RightWindows", Qt::Key_Super_R, xkb(126), false, 92, u"RWindows"},
                      KeyCase{"WindowsAsMeta", Qt::Key_Meta, xkb(126), false, 92, u"RWindows"},
                      KeyCase{"MenuKey", Qt::Key_Menu, xkb(127), false, 93, u"Application"},
                      // Without a position the side is unknown: the plain codes stay.
                      KeyCase{"ShiftOfUnknownSide", Qt::Key_Shift, 0, false, 16, u"Shift"},
                      KeyCase{"CtrlOfUnknownSide", Qt::Key_Control, 0, false, 17, u"Ctrl"},
                      KeyCase{"AltOfUnknownSide", Qt::Key_Alt, 0, false, 18, u"Alt"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Keypad, KeyDecodingTest,
    ::testing::Values(
        // Num Lock off: the keypad reports navigation keys; the key is the keypad digit and
        // the name the navigation key's.
        KeyCase{"Keypad9NumLockOff", Qt::Key_PageUp, xkb(73), true, 105, u"Page Up"},
        KeyCase{"Keypad9NumLockOn", Qt::Key_9, xkb(73), true, 105, u"Num 9"},
        KeyCase{"Keypad5NumLockOff", Qt::Key_Clear, xkb(76), true, 101, u"Num 5"},
        KeyCase{"Keypad0NumLockOff", Qt::Key_Insert, xkb(82), true, 96, u"Insert"},
        KeyCase{"KeypadDotNumLockOff", Qt::Key_Delete, xkb(83), true, 110, u"Delete"},
        KeyCase{"KeypadDotNumLockOn", Qt::Key_Period, xkb(83), true, 110, u"Num Del", u"."},
        KeyCase{"KeypadEnter", Qt::Key_Enter, xkb(96), true, 108, u"Num Enter"},
        KeyCase{"KeypadTimes", Qt::Key_Asterisk, xkb(55), true, 106, u"Num *", u"*"},
        KeyCase{"KeypadPlus", Qt::Key_Plus, xkb(78), true, 107, u"Num +", u"+"},
        KeyCase{"KeypadMinus", Qt::Key_Minus, xkb(74), true, 109, u"Num -", u"-"},
        KeyCase{"KeypadDivide", Qt::Key_Slash, xkb(98), true, 111, u"Num /", u"/"},
        KeyCase{"NumLock", Qt::Key_NumLock, xkb(69), false, 144, u"Num Lock"},
        // Events without a position: the keypad flag decides.
        KeyCase{"Keypad9NumLockOffNoPosition", Qt::Key_PageUp, 0, true, 105, u"Page Up"},
        KeyCase{"Keypad7NumLockOnNoPosition", Qt::Key_7, 0, true, 103, u"Num 7"},
        KeyCase{"KeypadHomeNoPosition", Qt::Key_Home, 0, true, 103, u"Home"},
        KeyCase{"KeypadEnterNoPosition", Qt::Key_Enter, 0, true, 108, u"Num Enter"},
        KeyCase{"KeypadDotNoPosition", Qt::Key_Period, 0, true, 110, u"Num Del"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    MainBlock, KeyDecodingTest,
    ::testing::Values(
        KeyCase{"MainEnter", Qt::Key_Return, xkb(28), false, 13, u"Enter"},
        KeyCase{"MainEnterNoPosition", Qt::Key_Return, 0, false, 13, u"Enter"},
        KeyCase{"LetterA", Qt::Key_A, xkb(30), false, 65, u"A", u"a"},
        KeyCase{"LetterZ", Qt::Key_Z, xkb(44), false, 90, u"Z", u"z"},
        KeyCase{"LetterNoPosition", Qt::Key_Q, 0, false, 81, u"Q", u"q"},
        KeyCase{"Digit1", Qt::Key_1, xkb(2), false, 49, u"1", u"1"},
        KeyCase{"Digit0", Qt::Key_0, xkb(11), false, 48, u"0", u"0"},
        KeyCase{"Digit1WithShift", Qt::Key_Exclam, xkb(2), false, 49, u"!", u"!"},
        KeyCase{"Digit1WithShiftNoPosition", Qt::Key_Exclam, 0, false, 49, u"!", u"!"},
        KeyCase{"Space", Qt::Key_Space, xkb(57), false, 32, u"Space", u" "},
        KeyCase{"Escape", Qt::Key_Escape, xkb(1), false, 27, u"Esc"},
        KeyCase{"Tab", Qt::Key_Tab, xkb(15), false, 9, u"Tab"},
        KeyCase{"TabWithShift", Qt::Key_Backtab, xkb(15), false, 9, u"Tab"},
        KeyCase{"Backspace", Qt::Key_Backspace, xkb(14), false, 8, u"Backspace"},
        KeyCase{"CapsLock", Qt::Key_CapsLock, xkb(58), false, 20, u"Caps Lock"},
        KeyCase{"Insert", Qt::Key_Insert, xkb(110), false, 45, u"Insert"},
        KeyCase{"Delete", Qt::Key_Delete, xkb(111), false, 46, u"Delete"},
        KeyCase{"Home", Qt::Key_Home, xkb(102), false, 36, u"Home"},
        KeyCase{"End", Qt::Key_End, xkb(107), false, 35, u"End"},
        KeyCase{"PageUp", Qt::Key_PageUp, xkb(104), false, 33, u"Page Up"},
        KeyCase{"PageDown", Qt::Key_PageDown, xkb(109), false, 34, u"Page Down"},
        KeyCase{"Left", Qt::Key_Left, xkb(105), false, 37, u"Left"},
        KeyCase{"Up", Qt::Key_Up, xkb(103), false, 38, u"Up"},
        KeyCase{"Right", Qt::Key_Right, xkb(106), false, 39, u"Right"},
        KeyCase{"Down", Qt::Key_Down, xkb(108), false, 40, u"Down"},
        KeyCase{"PrintScreen", Qt::Key_Print, xkb(99), false, 44, u"Print Screen"},
        KeyCase{"SysReq", Qt::Key_SysReq, xkb(99), false, 44, u"Print Screen"},
        KeyCase{"ScrollLock", Qt::Key_ScrollLock, xkb(70), false, 145, u"Scroll Lock"},
        KeyCase{"Pause", Qt::Key_Pause, xkb(119), false, 19, u"Pause"},
        KeyCase{"Yen", Qt::Key_yen, xkb(124), false, 137, u"\uFFE5"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Punctuation, KeyDecodingTest,
    ::testing::Values(
        KeyCase{"Semicolon", Qt::Key_Semicolon, xkb(39), false, 186, u";", u";"},
        KeyCase{"Equal", Qt::Key_Equal, xkb(13), false, 187, u"=", u"="},
        KeyCase{"Comma", Qt::Key_Comma, xkb(51), false, 188, u",", u","},
        KeyCase{"Minus", Qt::Key_Minus, xkb(12), false, 189, u"-", u"-"},
        KeyCase{"Period", Qt::Key_Period, xkb(52), false, 190, u".", u"."},
        KeyCase{"Slash", Qt::Key_Slash, xkb(53), false, 191, u"/", u"/"},
        KeyCase{"Grave", Qt::Key_QuoteLeft, xkb(41), false, 192, u"`", u"`"},
        KeyCase{"BracketLeft", Qt::Key_BracketLeft, xkb(26), false, 219, u"[", u"["},
        KeyCase{"Backslash", Qt::Key_Backslash, xkb(43), false, 220, u"\\", u"\\"},
        KeyCase{"BracketRight", Qt::Key_BracketRight, xkb(27), false, 221, u"]", u"]"},
        KeyCase{"Apostrophe", Qt::Key_Apostrophe, xkb(40), false, 222, u"'", u"'"},
        KeyCase{"IsoExtraKey", Qt::Key_Less, xkb(86), false, 226, u"<", u"<"},
        KeyCase{"SemicolonWithShift", Qt::Key_Colon, xkb(39), false, 186, u":", u":"},
        KeyCase{"ApostropheNoPosition", Qt::Key_QuoteDbl, 0, false, 222, u"\"", u"\""}),
    [](const auto& info) { return std::string(info.param.label); });

// Other layouts: the key is the position (what the mouse will press), the name is what the
// layout prints on it.
INSTANTIATE_TEST_SUITE_P(
    Layouts, KeyDecodingTest,
    ::testing::Values(
        KeyCase{"FrenchAOnTheQPosition", Qt::Key_A, xkb(16), false, 81, u"A", u"a"},
        KeyCase{"FrenchDigitRowUnshifted", Qt::Key_Ampersand, xkb(2), false, 49, u"&", u"&"},
        KeyCase{"GermanOUmlaut", 0xD6, xkb(39), false, 186, u"\u00D6", u"\u00F6"},
        KeyCase{"GermanDeadCircumflex", Qt::Key_Dead_Circumflex, xkb(41), false, 192, u"^"},
        KeyCase{"RussianShortI", 0x0419, xkb(16), false, 81, u"\u0419", u"\u0439"},
        KeyCase{"UnknownKeyNamedByItsText", Qt::Key_unknown, xkb(30), false, 65, u"\u00C5",
                u"\u00E5"},
        KeyCase{"UnknownKeyWithoutText", Qt::Key_unknown, xkb(30), false, 65, u"A"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(KeyDecodingFunctionKeys, F1ToF24ByPositionAndByQtKey) {
    // F1..F10 sit at 59..68, F11 and F12 at 87 and 88, F13..F24 at 183..194.
    for (int n = 1; n <= 24; ++n) {
        const unsigned kernel = n <= 10 ? 58 + n : n <= 12 ? 76 + n : 170 + n;
        const int qtKey = Qt::Key_F1 + n - 1;
        const InputEvent expected{InputKind::Keyboard, 0, 111 + n, QStringLiteral("F%1").arg(n)};
        EXPECT_EQ(decodeKey(qtKey, xkb(kernel), false, false), expected) << "F" << n;
        EXPECT_EQ(decodeKey(qtKey, 0, false, false), expected) << "F" << n << " without position";
    }
}

TEST(KeyDecodingUnknown, KeysWithoutACodeHaveNoNameAndAreDropped) {
    // Media keys have no code the mouse can send.
    EXPECT_EQ(decodeKey(Qt::Key_VolumeUp, xkb(115), false, false),
              (InputEvent{InputKind::Keyboard, 0, 0, {}}));
    EXPECT_EQ(decodeKey(Qt::Key_unknown, 0, false, true),
              (InputEvent{InputKind::Keyboard, 1, 0, {}}));
    EXPECT_EQ(decodeKey(0, 0, false, false).name, QString());
    // Scan codes below the XKB offset or beyond the table are not positions.
    EXPECT_EQ(decodeKey(Qt::Key_A, 3, false, false).virtualKey, 65);
    EXPECT_EQ(decodeKey(Qt::Key_A, 100000, false, false).virtualKey, 65);
}

} // namespace
} // namespace corvane::pages
