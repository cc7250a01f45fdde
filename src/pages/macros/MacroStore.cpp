#include "pages/macros/MacroStore.h"

#include "protocol/codec/BindingType.h"
#include "store/ProfileDatabase.h"
#include "store/StoreTransaction.h"

#include <algorithm>

namespace corvane::pages {

bool saveMacroEvents(store::ProfileDatabase& db, int macroId, const MacroEventList& list) {
    if (macroId <= 0)
        return false;
    store::StoreTransaction step(db);
    if (!step.isActive() || !db.deleteMacroEvents(macroId))
        return false;
    for (const store::MacroEvent& event : list.toEvents(macroId)) {
        if (db.insertMacroEvent(event) <= 0)
            return false; // the step rolls back: the old steps stay
    }
    return step.commit();
}

std::vector<int> keysPlayingMacro(store::ProfileDatabase& db, int profile, int macroId) {
    std::vector<store::ButtonBinding> bindings;
    db.listBindings(profile, bindings);
    std::vector<int> keys;
    for (const store::ButtonBinding& b : bindings) {
        if (b.fnLayer == 0 && b.macroType == static_cast<int>(protocol::BindingType::MacroCall) &&
            b.macroValue == macroId)
            keys.push_back(b.keyCode);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace corvane::pages
