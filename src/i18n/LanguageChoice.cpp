#include "i18n/LanguageChoice.h"

#include <algorithm>
#include <iterator>

namespace corvane::i18n {

namespace {

const LanguageChoiceRow kLanguageChoice[] = {
    {2052, u"简体中文"},   {1028, u"繁體中文"},     {1025, u"اللغة العربية"},
    {1031, u"Deutsch"},    {1033, u"English"},      {1034, u"Español"},
    {1036, u"Français"},   {1040, u"Italiano"},     {1041, u"日本語にほんご"},
    {1045, u"Polski"},     {1049, u"Русский язык"}, {1058, u"Українська мова"},
    {1066, u"Tiếng Việt"}, {2070, u"Português"},
};

// Of the languages above, those written from right to left.
constexpr int kRightToLeft[] = {1025};

} // namespace

bool readsRightToLeft(int lcid) {
    return std::ranges::find(kRightToLeft, lcid) != std::end(kRightToLeft);
}

std::span<const LanguageChoiceRow> languageChoice() {
    return kLanguageChoice;
}

qsizetype indexOfLcid(const QList<LanguageChoiceRow>& items, int lcid) {
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].lcid == lcid)
            return i;
    }
    return -1;
}

} // namespace corvane::i18n
