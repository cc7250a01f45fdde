#pragma once
// The button page's menus over the catalogue of the functions a key can be given.

#include "control/names/BindingCatalog.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace corvane::pages {

// The table itself is shared with corvanectl (control/names/BindingCatalog.h).
using control::bindingCatalog;
using control::CatalogEntry;
using control::findCatalogEntry;
using control::FunctionMenu;

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
