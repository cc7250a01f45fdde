#pragma once
// Which function a key of the mouse may hold: the rule the button page, corvanectl and
// the profile importer share, so that no way in stores a binding the mouse cannot hold.

#include "catalog/DeviceDetails.h"
#include "store/ButtonBinding.h"

#include <span>

namespace corvane::control {

// The key that never lets go of its function (the left button), so that the mouse always
// keeps a way to click.
inline constexpr int kPrimaryKey = 0;

// A function the button page or corvanectl gives: an entry of the binding catalogue
// with its own value, a keyboard key (a one-byte usage and the four modifier bits, not
// both empty), a repeat within the sub-panel's two ranges, a macro id above 0 (whether
// that macro is stored is the caller's to check) or the disable toggle's value.
bool isAssignableFunction(int type, int value, int value2);

// The binding's key is one of the mouse's keys and not the primary key, and its function
// is assignable.
bool isAssignableBinding(const store::ButtonBinding& binding,
                         std::span<const catalog::KeyEntry> keys);

} // namespace corvane::control
