#include "pages/keys/KeyTables.h"

#include <Qt>

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

namespace corvane::pages::keys {
namespace {

// XKB keycodes are the kernel's key codes moved up by 8.
constexpr unsigned kXkbOffset = 8;

// Kernel key code -> virtual key, for the positions of a full-size keyboard.
constexpr std::pair<int, int> kPositions[] = {
    {KEY_ESC, 27},         {KEY_1, '1'},         {KEY_2, '2'},
    {KEY_3, '3'},          {KEY_4, '4'},         {KEY_5, '5'},
    {KEY_6, '6'},          {KEY_7, '7'},         {KEY_8, '8'},
    {KEY_9, '9'},          {KEY_0, '0'},         {KEY_MINUS, 189},
    {KEY_EQUAL, 187},      {KEY_BACKSPACE, 8},   {KEY_TAB, 9},
    {KEY_Q, 'Q'},          {KEY_W, 'W'},         {KEY_E, 'E'},
    {KEY_R, 'R'},          {KEY_T, 'T'},         {KEY_Y, 'Y'},
    {KEY_U, 'U'},          {KEY_I, 'I'},         {KEY_O, 'O'},
    {KEY_P, 'P'},          {KEY_LEFTBRACE, 219}, {KEY_RIGHTBRACE, 221},
    {KEY_ENTER, 13},       {KEY_LEFTCTRL, 162},  {KEY_A, 'A'},
    {KEY_S, 'S'},          {KEY_D, 'D'},         {KEY_F, 'F'},
    {KEY_G, 'G'},          {KEY_H, 'H'},         {KEY_J, 'J'},
    {KEY_K, 'K'},          {KEY_L, 'L'},         {KEY_SEMICOLON, 186},
    {KEY_APOSTROPHE, 222}, {KEY_GRAVE, 192},     {KEY_LEFTSHIFT, 160},
    {KEY_BACKSLASH, 220},  {KEY_Z, 'Z'},         {KEY_X, 'X'},
    {KEY_C, 'C'},          {KEY_V, 'V'},         {KEY_B, 'B'},
    {KEY_N, 'N'},          {KEY_M, 'M'},         {KEY_COMMA, 188},
    {KEY_DOT, 190},        {KEY_SLASH, 191},     {KEY_RIGHTSHIFT, 161},
    {KEY_KPASTERISK, 106}, {KEY_LEFTALT, 164},   {KEY_SPACE, 32},
    {KEY_CAPSLOCK, 20},    {KEY_F1, 112},        {KEY_F2, 113},
    {KEY_F3, 114},         {KEY_F4, 115},        {KEY_F5, 116},
    {KEY_F6, 117},         {KEY_F7, 118},        {KEY_F8, 119},
    {KEY_F9, 120},         {KEY_F10, 121},       {KEY_NUMLOCK, 144},
    {KEY_SCROLLLOCK, 145}, {KEY_KP7, 103},       {KEY_KP8, 104},
    {KEY_KP9, 105},        {KEY_KPMINUS, 109},   {KEY_KP4, 100},
    {KEY_KP5, 101},        {KEY_KP6, 102},       {KEY_KPPLUS, 107},
    {KEY_KP1, 97},         {KEY_KP2, 98},        {KEY_KP3, 99},
    {KEY_KP0, 96},         {KEY_KPDOT, 110},     {KEY_102ND, 226},
    {KEY_F11, 122},        {KEY_F12, 123},       {KEY_KPENTER, Vk::NumEnter},
    {KEY_RIGHTCTRL, 163},  {KEY_KPSLASH, 111},   {KEY_SYSRQ, 44},
    {KEY_RIGHTALT, 165},   {KEY_HOME, 36},       {KEY_UP, 38},
    {KEY_PAGEUP, 33},      {KEY_LEFT, 37},       {KEY_RIGHT, 39},
    {KEY_END, 35},         {KEY_DOWN, 40},       {KEY_PAGEDOWN, 34},
    {KEY_INSERT, 45},      {KEY_DELETE, 46},     {KEY_PAUSE, 19},
    {KEY_YEN, Vk::Yen},    {KEY_LEFTMETA, 91},   {KEY_RIGHTMETA, 92},
    {KEY_COMPOSE, 93},     {KEY_F13, 124},       {KEY_F14, 125},
    {KEY_F15, 126},        {KEY_F16, 127},       {KEY_F17, 128},
    {KEY_F18, 129},        {KEY_F19, 130},       {KEY_F20, 131},
    {KEY_F21, 132},        {KEY_F22, 133},       {KEY_F23, 134},
    {KEY_F24, 135},
};

constexpr std::array<unsigned char, 256> kByPosition = [] {
    std::array<unsigned char, 256> table{};
    for (const auto& [code, vk] : kPositions)
        table[code] = static_cast<unsigned char>(vk);
    return table;
}();

// Qt key -> virtual key for keys of the main block. Punctuation is given both as typed
// and as typed with Shift on a US layout, since Qt reports the shifted character.
constexpr std::pair<int, int> kQtKeys[] = {
    {Qt::Key_Backspace, 8},      {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},         {Qt::Key_Return, 13},      {Qt::Key_Enter, Vk::NumEnter},
    {Qt::Key_Shift, 16},         {Qt::Key_Control, 17},     {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 165},        {Qt::Key_Pause, 19},       {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},        {Qt::Key_Space, 32},       {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},      {Qt::Key_End, 35},         {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},          {Qt::Key_Up, 38},          {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},          {Qt::Key_Print, 44},       {Qt::Key_SysReq, 44},
    {Qt::Key_Insert, 45},        {Qt::Key_Delete, 46},      {Qt::Key_Meta, 91},
    {Qt::Key_Super_L, 91},       {Qt::Key_Super_R, 92},     {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},      {Qt::Key_ScrollLock, 145}, {Qt::Key_yen, Vk::Yen},
    {Qt::Key_Semicolon, 186},    {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},         {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},        {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},      {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},    {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},     {Qt::Key_Exclam, '1'},     {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},   {Qt::Key_Dollar, '4'},     {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},  {Qt::Key_Ampersand, '7'},  {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},    {Qt::Key_ParenRight, '0'},
};

// Qt key -> virtual key for keys flagged as keypad keys. With Num Lock off the keypad
// reports navigation keys; they are stored as the keypad digits they sit on.
constexpr std::pair<int, int> kQtKeypadKeys[] = {
    {Qt::Key_Insert, 96}, {Qt::Key_End, 97},     {Qt::Key_Down, 98},      {Qt::Key_PageDown, 99},
    {Qt::Key_Left, 100},  {Qt::Key_Clear, 101},  {Qt::Key_Right, 102},    {Qt::Key_Home, 103},
    {Qt::Key_Up, 104},    {Qt::Key_PageUp, 105}, {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},
    {Qt::Key_Enter, 108}, {Qt::Key_Return, 108}, {Qt::Key_Minus, 109},    {Qt::Key_Period, 110},
    {Qt::Key_Comma, 110}, {Qt::Key_Delete, 110}, {Qt::Key_Slash, 111},
};

template <std::size_t N> int lookUp(const std::pair<int, int> (&table)[N], int key) {
    for (const auto& [from, to] : table) {
        if (from == key)
            return to;
    }
    return 0;
}

// Names that stay the same in every layout.
constexpr std::pair<int, const char16_t*> kFixedNames[] = {
    {19, u"Pause"},
    {44, u"Print Screen"},
    {91, u"Windows"},
    {92, u"RWindows"},
    {93, u"Application"},
    {144, u"Num Lock"},
    {160, u"Shift"},
    {161, u"RShift"},
    {162, u"Ctrl"},
    {163, u"RCtrl"},
    {164, u"Alt"},
    {165, u"RAlt"},
    {Vk::NumEnter, u"Num Enter"},
    {Vk::Yen, u"\uFFE5"},
};

// Names of the keys that do not type a character, as a US layout spells them.
constexpr std::pair<int, const char16_t*> kKeyNames[] = {
    {8, u"Backspace"}, {9, u"Tab"},           {12, u"Num 5"},   {13, u"Enter"},
    {16, u"Shift"},    {17, u"Ctrl"},         {18, u"Alt"},     {20, u"Caps Lock"},
    {27, u"Esc"},      {32, u"Space"},        {33, u"Page Up"}, {34, u"Page Down"},
    {35, u"End"},      {36, u"Home"},         {37, u"Left"},    {38, u"Up"},
    {39, u"Right"},    {40, u"Down"},         {45, u"Insert"},  {46, u"Delete"},
    {106, u"Num *"},   {107, u"Num +"},       {109, u"Num -"},  {110, u"Num Del"},
    {111, u"Num /"},   {145, u"Scroll Lock"}, {186, u";"},      {187, u"="},
    {188, u","},       {189, u"-"},           {190, u"."},      {191, u"/"},
    {192, u"`"},       {219, u"["},           {220, u"\\"},     {221, u"]"},
    {222, u"'"},       {226, u"\\"},
};

constexpr std::pair<int, const char16_t*> kDeadKeys[] = {
    {Qt::Key_Dead_Grave, u"`"},          {Qt::Key_Dead_Acute, u"\u00B4"},
    {Qt::Key_Dead_Circumflex, u"^"},     {Qt::Key_Dead_Tilde, u"~"},
    {Qt::Key_Dead_Macron, u"\u00AF"},    {Qt::Key_Dead_Breve, u"\u02D8"},
    {Qt::Key_Dead_Abovedot, u"\u02D9"},  {Qt::Key_Dead_Diaeresis, u"\u00A8"},
    {Qt::Key_Dead_Abovering, u"\u00B0"}, {Qt::Key_Dead_Doubleacute, u"\u02DD"},
    {Qt::Key_Dead_Caron, u"\u02C7"},     {Qt::Key_Dead_Cedilla, u"\u00B8"},
    {Qt::Key_Dead_Ogonek, u"\u02DB"},
};

template <std::size_t N>
QString nameIn(const std::pair<int, const char16_t*> (&table)[N], int key) {
    for (const auto& [from, name] : table) {
        if (from == key)
            return QString::fromUtf16(name);
    }
    return {};
}

} // namespace

int virtualKeyFromScanCode(unsigned scanCode) {
    if (scanCode < kXkbOffset || scanCode - kXkbOffset >= kByPosition.size())
        return 0;
    return kByPosition[scanCode - kXkbOffset];
}

int virtualKeyFromQtKey(int qtKey, bool keypad) {
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return Vk::Numpad0 + (qtKey - Qt::Key_0);
        if (const int vk = lookUp(kQtKeypadKeys, qtKey))
            return vk;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey; // Qt's codes for digits and letters are the virtual keys
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    return lookUp(kQtKeys, qtKey);
}

QString fixedKeyName(int virtualKey) {
    return nameIn(kFixedNames, virtualKey);
}

QString builtInKeyName(int virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return QString(QChar(virtualKey));
    if (virtualKey >= Vk::Numpad0 && virtualKey <= Vk::Numpad0 + 9)
        return QStringLiteral("Num %1").arg(virtualKey - Vk::Numpad0);
    if (virtualKey >= 112 && virtualKey <= 135)
        return QStringLiteral("F%1").arg(virtualKey - 111);
    if (QString fixed = fixedKeyName(virtualKey); !fixed.isEmpty())
        return fixed;
    return nameIn(kKeyNames, virtualKey);
}

bool isCharacterKey(int virtualKey) {
    return (virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z') ||
           (virtualKey >= 186 && virtualKey <= 192) || (virtualKey >= 219 && virtualKey <= 222) ||
           virtualKey == 226;
}

bool isKeypadKey(int virtualKey) {
    return virtualKey >= Vk::Numpad0 && virtualKey <= Vk::Divide;
}

QString deadKeyCharacter(int qtKey) {
    return nameIn(kDeadKeys, qtKey);
}

} // namespace corvane::pages::keys
