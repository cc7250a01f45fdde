#include "app/start/LanguageStartup.h"

#include "app/start/AppState.h"
#include "app/start/UserValues.h"

namespace corvane::app {

namespace {
constexpr int englishLcid = 1033;
const QString lcidName = QStringLiteral("LCID");
} // namespace

void applyStartupConfig(AppState& state, std::optional<int> defaultLan,
                        const std::vector<int>& languages, std::optional<QString> caption) {
    state.supportedLanguages.clear();
    if (defaultLan) {
        state.currentLcid = *defaultLan;
        for (int lcid : languages)
            state.supportedLanguages[lcid] = true;
    }
    if (caption)
        state.deviceName = *caption;
}

int chooseLanguage(AppState& state, UserValues& values, int uiLcid) {
    int lcid = values.readUserValue(lcidName);
    if (lcid == 0) {
        lcid = uiLcid;
        values.writeUserValue(lcidName, QString::number(state.offers(lcid) ? lcid : englishLcid));
    }
    // A language we have no texts for would show a window without a word in it: this run
    // uses English as well, and so does the next.
    if (!state.offers(lcid)) {
        values.writeUserValue(lcidName, QString::number(englishLcid));
        lcid = englishLcid;
    }
    state.currentLcid = lcid;
    return lcid;
}

} // namespace corvane::app
