#pragma once
// The functions a key can be given: every (macro_type, macro_value) pair the button page
// offers or describes, the menu that offers it, its label and the text the key list shows
// for it. One table of data; the page, the key list's descriptions and the tests read it.

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace corvane::pages {

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
};

// The whole catalogue, menus' items in their order.
std::span<const CatalogEntry> bindingCatalog();

// The entry of (type, value); for the sub-panels and the disable toggle any value of
// their type matches. nullopt when the catalogue does not know it.
std::optional<CatalogEntry> findCatalogEntry(int type, int value);

// The entries a menu offers, in menu order (empty for Macro, whose items come from the
// store, and for the panels).
std::vector<CatalogEntry> menuEntries(FunctionMenu menu);

// The binding type a menu commits (0 for None).
int menuBindingType(FunctionMenu menu);

// The (1-based) item a menu is moved to whenever a key's function is shown; 0 when the
// menu keeps its item.
int menuResetPosition(FunctionMenu menu);

// What the mouse-menu item "repeat" (type 1, value 4) stands for.
inline constexpr int kMouseRepeatInterval = 50;
inline constexpr int kMouseRepeatCount = 3;

} // namespace corvane::pages
