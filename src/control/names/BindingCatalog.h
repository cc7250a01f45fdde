#pragma once
// The functions a key can be given: every (macro_type, macro_value) pair the button page
// offers or describes, the menu that offers it, its label, the text the key list shows
// for it, and the name corvanectl uses for it. One table of data, read by the button
// page, its descriptions and corvanectl.

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <span>

namespace corvane::control {

// Where a function is offered on the button page.
enum class FunctionMenu {
    None,     // no menu offers it; a stored binding with it is still described
    Mouse,    // menu of mouse functions (type 1)
    Media,    // type 3
    Macro,    // type 4, one item per stored macro
    Dpi,      // type 5
    Device,   // type 6
    System,   // type 8
    Keyboard, // the keyboard sub-panel (type 2)
    Repeat,   // the repeat sub-panel (type 7)
    Disable,  // the disable toggle (type 9)
};

struct CatalogEntry {
    int type;  // macro_type (protocol::BindingType)
    int value; // macro_value; 0 where any value of the type is meant
    FunctionMenu menu;
    int position;            // 1-based position in its menu; 0 when it has none
    int labelText;           // TextId of the label; 0 when `literal` is the label
    const char16_t* literal; // the label in every language, or nullptr
    int descriptionText;     // TextId shown in the key list; 0 when the stored text is
    // corvanectl's name ("mouse:left", "disable"); nullptr for the keyboard, macro and
    // repeat entries, whose names carry their values ("key:ctrl+c", "macro:NAME",
    // "repeat:3,50").
    const char* name;
};

// The whole catalogue, menus' items in their order.
std::span<const CatalogEntry> bindingCatalog();

// The entry of (type, value); for the sub-panels and the disable toggle any value of
// their type matches. nullopt when the catalogue does not know it.
std::optional<CatalogEntry> findCatalogEntry(int type, int value);

// The entry with this corvanectl name (compared without regard to case).
std::optional<CatalogEntry> findCatalogEntry(QStringView name);

// The label of an entry: its interface text, or its literal label.
QString catalogLabel(const CatalogEntry& entry, const std::function<QString(int id)>& text);

// The value the disable toggle stores.
inline constexpr int kDisabledValue = 1;

// The repeat sub-panel's two numbers: the count (first field, macro_value2) and the
// interval in milliseconds (second field, macro_value).
inline constexpr int kRepeatCountMin = 0;
inline constexpr int kRepeatCountMax = 255;
inline constexpr int kRepeatIntervalMin = 5;
inline constexpr int kRepeatIntervalMax = 255;

} // namespace corvane::control
