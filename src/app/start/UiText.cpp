#include "app/start/UiText.h"

#include "i18n/LanguageTexts.h"

namespace corvane::app {

QString uiText(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

} // namespace corvane::app
