#pragma once

#include <QList>
#include <QStringView>

#include <span>

namespace corvane::i18n {

// One language the program settings page can offer: its LCID and the name it is listed under,
// the same whatever the current language.
struct LanguageChoiceRow {
    int lcid;
    QStringView displayName;
    bool operator==(const LanguageChoiceRow&) const = default;
};

// Every language the settings page knows, in display order.
std::span<const LanguageChoiceRow> languageChoice();

// The rows of languageChoice() whose LCID the installation offers, in display order.
// supportedLanguages is any container of LCIDs with contains(): the installation's ordered map
// from LCID to its flag, or a set.
template <typename LcidContainer>
QList<LanguageChoiceRow> offeredLanguages(const LcidContainer& supportedLanguages) {
    QList<LanguageChoiceRow> items;
    for (const LanguageChoiceRow& row : languageChoice()) {
        if (supportedLanguages.contains(row.lcid))
            items.append(row);
    }
    return items;
}

// Whether the language is written from right to left (the window is then mirrored).
bool readsRightToLeft(int lcid);

// The position of lcid among items (the item to select), or -1 when it is not offered.
qsizetype indexOfLcid(const QList<LanguageChoiceRow>& items, int lcid);

} // namespace corvane::i18n
