#pragma once

#include "app/start/UserValues.h"

#include <QString>

#include <optional>
#include <vector>

namespace corvane::app {

struct AppState;

// The start-up values that come from config.xml. Always clears the offered languages
// first. When the language block is present (defaultLan set), the current language
// becomes defaultLan provisionally and every listed language is offered; when the
// software element is present (caption set), it names the product. A missing or
// unreadable config.xml is the call with nothing set.
void applyStartupConfig(AppState& state, std::optional<int> defaultLan,
                        const std::vector<int>& languages, std::optional<QString> caption);

// Settles the language of this run from the stored "LCID" and the desktop's interface
// language (uiLcid). A stored 0 or non-number counts as no choice: the interface
// language is taken. A language that is not offered gives English (1033), for this run
// and as the stored value. Returns the language now in use (also state.currentLcid).
int chooseLanguage(AppState& state, UserValues& values, int uiLcid);

} // namespace corvane::app
