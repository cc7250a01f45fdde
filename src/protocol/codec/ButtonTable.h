#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "protocol/transport/ReportPacket.h"
#include "store/ButtonBinding.h"
#include "store/MacroRecords.h"

namespace corvane::protocol {

// The button table sent with SetButtons: three bytes per button, button i at bytes
// 3i..3i+2. Key codes 0..20 have an entry; only the first 27 bytes (buttons 0..8)
// fit in the report.
inline constexpr std::size_t kButtonTableSize = 65;
inline constexpr std::size_t kButtonEntryBytes = 3;
inline constexpr int kTableButtons = 21;
inline constexpr std::size_t kSentButtonTableBytes = 27;

using ButtonTable = std::array<std::uint8_t, kButtonTableSize>;
using ButtonEntry = std::array<std::uint8_t, kButtonEntryBytes>;

// Finds a macro by id: true and `macro` filled when it exists.
using MacroLookup = std::function<bool(int macroId, store::MacroDefinition& macro)>;

// Five mouse buttons and the DPI button; every other byte zero.
ButtonTable defaultButtonTable();

// The table for these bindings (layer 0 of one profile), starting from the default.
// Bindings with a key code outside 0..20 are ignored. A binding whose entry cannot be
// built (an unknown type, or a macro that no longer exists) keeps the entry before it.
ButtonTable buildButtonTable(std::span<const store::ButtonBinding> bindings,
                             const MacroLookup& macros);
// The same for a profile of the store.
ButtonTable buildButtonTable(int profile);

// The entry of one binding, starting from the entry it replaces.
ButtonEntry bindingEntry(const store::ButtonBinding& binding, ButtonEntry previous,
                         const MacroLookup& macros);

// SetButtons with table bytes 0..26 in B4..B30.
ReportPacket encodeSetButtons(const ButtonTable& table);

} // namespace corvane::protocol
