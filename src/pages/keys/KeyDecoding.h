#pragma once
// Decoding one key event into the virtual-key code and display name that captures store.

#include "pages/keys/InputEvent.h"

#include <QString>

namespace corvane::pages {

// Decodes a key event. The keyboard position (scanCode: the event's native scan code, an
// XKB keycode) decides the virtual key, so left and right Shift, Ctrl, Alt and Windows
// keys, the keypad keys whatever the state of Num Lock, and keypad Enter are told apart
// and the layout does not move keys around; without a known position the Qt key and the
// keypad flag decide. The name comes from the active layout (the Qt key, or the typed
// text) except for the keys with fixed names ("Shift", "RShift", "Num Enter", ...) and
// the keys that type no character. A key without a code gives virtual key 0 and an empty
// name, which callers drop.
InputEvent decodeKey(int qtKey, unsigned scanCode, bool keypad, bool released,
                     const QString& text = {});

// The display name of a decoded key: the fixed name of virtualKey if it has one, else
// what the layout calls the key (qtKey, then text), else the US layout's name.
QString keyName(int virtualKey, int qtKey, const QString& text = {});

} // namespace corvane::pages
