#pragma once
// What the macro page writes: a macro's whole list as one store step, and the keys of a
// profile that play a macro (their macros go to the mouse again after an edit).

#include "pages/macros/MacroEventList.h"

#include <vector>

namespace corvane::store {
class ProfileDatabase;
}

namespace corvane::pages {

// Replaces the macro's stored steps by the list, in list order, as one step: the device
// worker never reads a macro half-written, and a failed write keeps the old steps.
bool saveMacroEvents(store::ProfileDatabase& db, int macroId, const MacroEventList& list);

// The keys of `profile` (layer 0) bound to play macro `macroId`, in key order.
std::vector<int> keysPlayingMacro(store::ProfileDatabase& db, int profile, int macroId);

} // namespace corvane::pages
