#pragma once
// The tables behind key decoding: keyboard positions and Qt keys to the Windows
// virtual-key codes the store keeps, and the display names of keys.

#include <QString>

namespace corvane::pages::keys {

// Windows virtual-key codes the decoding treats specially.
namespace Vk {
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Alt = 18;
constexpr int Return = 13;
constexpr int LeftWindows = 91;
constexpr int RightWindows = 92;
constexpr int Numpad0 = 96;
constexpr int Divide = 111;
constexpr int NumEnter = 108; // the keypad's Enter (the separator code)
constexpr int Yen = 137;
constexpr int LeftShift = 160;
constexpr int RightShift = 161;
constexpr int LeftControl = 162;
constexpr int RightControl = 163;
constexpr int LeftAlt = 164;
constexpr int RightAlt = 165;
} // namespace Vk

// The key at a keyboard position. The position is an XKB keycode (the kernel's evdev
// key code + 8), which is what the X11 and Wayland platforms report as the native scan
// code. Positions are read as on a US keyboard, which is how the mouse's key usages see
// them. 0 for an unknown position or a scan code of 0.
int virtualKeyFromScanCode(unsigned scanCode);

// The key for a Qt key code, for events that carry no usable scan code. `keypad` is the
// keypad flag of the event: keypad digits, operators and Enter get the keypad codes, and
// the navigation keys the keypad gives while Num Lock is off become the keypad digits
// (Page Up -> keypad 9). 0 for keys without a code.
int virtualKeyFromQtKey(int qtKey, bool keypad);

// Names that never depend on the keyboard layout ("RShift", "Num Enter", ...); empty for
// the other keys.
QString fixedKeyName(int virtualKey);

// The name a standard US layout gives the key ("Page Up", "Num 9", "A", ";"); empty for
// codes without a key.
QString builtInKeyName(int virtualKey);

// Letters, digits and the punctuation keys: keys whose name is the character they type.
bool isCharacterKey(int virtualKey);

// Keypad digits and operators (96..111).
bool isKeypadKey(int virtualKey);

// The character a dead key puts down ("^" for a dead circumflex); empty for other keys.
QString deadKeyCharacter(int qtKey);

} // namespace corvane::pages::keys
