#pragma once
// Names of keys on the command line: the keyboard keys a binding can send (by HID
// usage) and the mouse's own keys (by the interface text that names them).

#include <QString>
#include <QStringView>

#include <optional>

namespace corvane::control {

// A keyboard key: its corvanectl name ("a", "f5", "page-up", "kp-7") and the name shown
// for it ("A", "F5", "Page Up", "Num 7").
struct KeyboardKeyName {
    int usage;
    QString name;
    QString label;
};

std::optional<KeyboardKeyName> keyboardKeyByName(QStringView name);
std::optional<KeyboardKeyName> keyboardKeyByUsage(int usage);

// The modifier bits of a keyboard binding (macro_value2) and their names.
struct ModifierName {
    int bit;
    const char* name;  // "ctrl", "shift", "alt", "win"
    const char* label; // "Ctrl", "Shift", "Alt", "Win"
};
inline constexpr ModifierName kModifierNames[] = {
    {1, "ctrl", "Ctrl"},
    {2, "shift", "Shift"},
    {4, "alt", "Alt"},
    {8, "win", "Win"},
};

// A mouse key's corvanectl name from the interface text that names it in the device
// file ("left", "dpi"); "key<keyValue>" for a name text the table does not know.
QString mouseKeyName(int nameTextId, int keyValue);

} // namespace corvane::control
