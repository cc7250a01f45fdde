#pragma once
// One decoded key event of a capture: what the button page, the macro editor and the
// recorder store (a Windows virtual-key code and a display name).

#include <QString>

namespace corvane::pages {

namespace InputKind {
constexpr int Keyboard = 2; // a key of a keyboard
constexpr int OtherHid = 3; // input from another HID device (never produced on this platform)
} // namespace InputKind

struct InputEvent {
    int kind = InputKind::Keyboard;
    int released = 0;   // 1 for a key-up, 0 for a key-down
    int virtualKey = 0; // Windows virtual-key code; 0 when the key has none
    QString name;       // display name; an event with an empty name is dropped

    bool operator==(const InputEvent&) const = default;
};

} // namespace corvane::pages
