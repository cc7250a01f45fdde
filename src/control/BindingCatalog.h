#pragma once
// The functions a mouse key can be given: each binding code (macro_type and
// macro_value) with the menu that offers it, the interface text of its label and
// description, and the name corvanectl uses for it. The button page builds its menus
// from the same table.

#include "protocol/BindingType.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

namespace corvane::control {

// The function menus of the button page.
enum class FunctionMenu { None, Mouse, Media, Macro, System, Dpi, Device };

struct CatalogFunction {
    protocol::BindingType type;
    int value;                // macro_value
    const char* name;         // corvanectl's name: "<group>:<function>", or "disable"
    FunctionMenu menu;        // FunctionMenu::None: no menu offers it
    int menuPosition;         // 1-based order in its menu; 0 without a menu
    int textId;               // label in the menu and description of the key; 0: literal
    const char* literalLabel; // the label in every language when textId is 0
};

// Every listed function, grouped by type in menu order; those no menu offers follow
// their type's menu items.
std::span<const CatalogFunction> catalogFunctions();

// The entry of a type and value; nothing for codes the table does not list.
const CatalogFunction* findFunction(protocol::BindingType type, int value);
// The entry of a corvanectl name (compared without regard to case).
const CatalogFunction* findFunction(QStringView name);

// Texts used for the parameterised functions.
inline constexpr int kKeyboardTitleText = 160;  // the keyboard sub-panel
inline constexpr int kRepeatTitleText = 182;    // the repeat sub-panel (stored description)
inline constexpr int kRepeatDescribeText = 161; // how a repeat binding is described
inline constexpr int kDisabledText = 139;

// The repeat sub-panel's two numbers: the count (first field, macro_value2) and the
// interval in milliseconds (second field, macro_value).
inline constexpr int kRepeatCountMin = 0;
inline constexpr int kRepeatCountMax = 255;
inline constexpr int kRepeatIntervalMin = 5;
inline constexpr int kRepeatIntervalMax = 255;

} // namespace corvane::control
