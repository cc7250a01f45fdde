#pragma once
// Control ids of the configuration pages.
//
// Every page creates its controls in the main window, where an id names one control
// only. The pages number their controls on their own (the lighting caption and the
// device settings title are both control 194 of their page), so each page gets a block
// of ids: the control a page calls `local` carries the id
//
//     kPageIdBlock * (slot + 1) + local        (local in 1 .. kPageIdBlock - 1)
//
// Buttons 1001..1999, performance 2001..2999, macros 3001..3999, lighting 4001..4999,
// device settings 5001..5999, program settings 6001..6999. The main window's own
// controls stay below kPageIdBlock, so no two controls of the window can share an id.
// The window hands a page its notifications with the local number.

#include <optional>

namespace corvane::pages {

// The page containers, in the order the window lets the pages create their controls.
enum class PageSlot { Buttons, Performance, Macros, Lighting, DeviceSettings, ProgramSettings };
inline constexpr int kPageSlotCount = 6;

inline constexpr int kPageIdBlock = 1000;

// The window id of a page's control `local`; 0 when local is outside 1 .. block - 1.
constexpr int pageControlId(PageSlot slot, int local) {
    if (local <= 0 || local >= kPageIdBlock)
        return 0;
    return kPageIdBlock * (static_cast<int>(slot) + 1) + local;
}

// The page whose block holds a window id; nullopt for the window's own controls.
constexpr std::optional<PageSlot> pageOfControl(int id) {
    const int block = id / kPageIdBlock;
    if (id <= 0 || block < 1 || block > kPageSlotCount || id % kPageIdBlock == 0)
        return std::nullopt;
    return static_cast<PageSlot>(block - 1);
}

// The page's own number of a window id in a page block.
constexpr int localControlId(int id) {
    return id % kPageIdBlock;
}

} // namespace corvane::pages
