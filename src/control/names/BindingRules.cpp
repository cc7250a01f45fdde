#include "control/names/BindingRules.h"

#include "control/names/BindingCatalog.h"
#include "protocol/codec/BindingType.h"

#include <algorithm>

namespace corvane::control {

namespace {

using protocol::BindingType;

constexpr int kModifierBits = 0x0F; // Ctrl, Shift, Alt, Win
constexpr int kLargestUsage = 0xFF; // the mouse holds a key's usage in one byte

} // namespace

bool isAssignableFunction(int type, int value, int value2) {
    switch (static_cast<BindingType>(type)) {
    case BindingType::KeyboardKey:
        return value >= 0 && value <= kLargestUsage && value2 >= 0 &&
               (value2 & ~kModifierBits) == 0 && (value != 0 || value2 != 0);
    case BindingType::RepeatFunction:
        return value >= kRepeatIntervalMin && value <= kRepeatIntervalMax &&
               value2 >= kRepeatCountMin && value2 <= kRepeatCountMax;
    case BindingType::MacroCall:
        return value > 0;
    case BindingType::Disabled:
        return value == kDisabledValue;
    default:
        // Every other type names its functions one by one in the catalogue.
        return findCatalogEntry(type, value).has_value();
    }
}

bool isAssignableBinding(const store::ButtonBinding& binding,
                         std::span<const catalog::KeyEntry> keys) {
    const bool known = std::any_of(keys.begin(), keys.end(), [&](const catalog::KeyEntry& key) {
        return key.keyValue == binding.keyCode;
    });
    return known && binding.keyCode != kPrimaryKey &&
           isAssignableFunction(binding.macroType, binding.macroValue, binding.macroValue2);
}

} // namespace corvane::control
