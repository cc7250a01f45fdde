#include "pages/buttons/BindingCatalog.h"

#include <algorithm>
#include <array>

namespace corvane::pages {

namespace {

using M = FunctionMenu;

struct MenuRule {
    FunctionMenu menu;
    int type;
    int resetPosition;
};

constexpr std::array kMenus{
    MenuRule{M::Mouse, 1, 1},    MenuRule{M::Media, 3, 4},  MenuRule{M::Macro, 4, 1},
    MenuRule{M::System, 8, 3},   MenuRule{M::Dpi, 5, 0},    MenuRule{M::Device, 6, 0},
    MenuRule{M::Keyboard, 2, 0}, MenuRule{M::Repeat, 7, 0}, MenuRule{M::Disable, 9, 0},
};

} // namespace

std::vector<CatalogEntry> menuEntries(FunctionMenu menu) {
    std::vector<CatalogEntry> entries;
    for (const CatalogEntry& e : bindingCatalog()) {
        if (e.menu == menu && e.position > 0)
            entries.push_back(e);
    }
    std::sort(entries.begin(), entries.end(),
              [](const CatalogEntry& a, const CatalogEntry& b) { return a.position < b.position; });
    return entries;
}

int menuBindingType(FunctionMenu menu) {
    for (const MenuRule& rule : kMenus) {
        if (rule.menu == menu)
            return rule.type;
    }
    return 0;
}

int menuResetPosition(FunctionMenu menu) {
    for (const MenuRule& rule : kMenus) {
        if (rule.menu == menu)
            return rule.resetPosition;
    }
    return 0;
}

} // namespace corvane::pages
