#pragma once

#include "focus/AppRules.h"

namespace corvane::store {
class ProfileDatabase;
}

namespace corvane::focus {

// The rules of the store's device type: each profile's application list and the default.
AppRules loadAppRules(store::ProfileDatabase& database);

} // namespace corvane::focus
