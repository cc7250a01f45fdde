#include "focus/StoredRules.h"

#include "store/ProfileDatabase.h"

namespace corvane::focus {

AppRules loadAppRules(store::ProfileDatabase& database) {
    AppRules rules;
    for (int profile = 1; profile <= kRuleProfiles; ++profile) {
        QString stored;
        if (database.getProfileApps(profile, stored))
            rules.apps[profile - 1] = parseAppList(stored);
    }
    rules.defaultProfile = database.getDefaultAppProfile();
    return rules;
}

} // namespace corvane::focus
