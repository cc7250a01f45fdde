#pragma once

namespace corvane::protocol {

// Recorded macro events and captured keys hold Windows virtual-key codes; the mouse
// takes HID keyboard usages and HID modifier bits.

// The HID keyboard usage of a virtual-key code; 0 for a code without one.
int keyUsage(int virtualKey);

// The HID modifier bit of a modifier key, given as a virtual-key code (160..165, 91,
// 92) or as a HID usage (224..231): left Ctrl 0x01, Shift 0x02, Alt 0x04, Windows
// 0x08, right Ctrl 0x10, Shift 0x20, Alt 0x40, Windows 0x80. Any other value is
// returned as it is.
int modifierMask(int code);

// Whether a virtual-key code is one of the eight modifier keys (left and right Shift,
// Ctrl, Alt and Windows), which macros send as modifier events.
bool isModifierKey(int virtualKey);
// Whether a HID usage is one of the eight modifier usages 0xE0..0xE7.
bool isModifierUsage(int usage);

} // namespace corvane::protocol
