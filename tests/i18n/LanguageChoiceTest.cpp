#include "i18n/LanguageChoice.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QSet>

#include <map>

using namespace corvane::i18n;

namespace {

QStringList namesOf(const QList<LanguageChoiceRow>& rows) {
    QStringList names;
    for (const LanguageChoiceRow& row : rows)
        names.append(row.displayName.toString());
    return names;
}

TEST(LanguageChoice, ListsEveryLanguageInDisplayOrder) {
    const QList<int> lcids = {2052, 1028, 1025, 1031, 1033, 1034, 1036,
                              1040, 1041, 1045, 1049, 1058, 1066, 2070};
    const QStringList names = {
        QStringLiteral("简体中文"),       QStringLiteral("繁體中文"),
        QStringLiteral("اللغة العربية"),  QStringLiteral("Deutsch"),
        QStringLiteral("English"),        QStringLiteral("Español"),
        QStringLiteral("Français"),       QStringLiteral("Italiano"),
        QStringLiteral("日本語にほんご"), QStringLiteral("Polski"),
        QStringLiteral("Русский язык"),   QStringLiteral("Українська мова"),
        QStringLiteral("Tiếng Việt"),     QStringLiteral("Português"),
    };
    const auto table = languageChoice();
    ASSERT_EQ(qsizetype(table.size()), lcids.size());
    for (qsizetype i = 0; i < lcids.size(); ++i) {
        EXPECT_EQ(table[i].lcid, lcids[i]);
        EXPECT_EQ(table[i].displayName, names[i]);
    }
}

TEST(LanguageChoice, OffersOnlySupportedLanguagesInTableOrder) {
    // The installation lists its languages in its own order; the table's order wins.
    const QMap<int, int> englishAndChinese = {{1033, 1}, {2052, 1}};
    const QList<LanguageChoiceRow> offered = offeredLanguages(englishAndChinese);
    EXPECT_EQ(namesOf(offered),
              QStringList({QStringLiteral("简体中文"), QStringLiteral("English")}));
    EXPECT_EQ(indexOfLcid(offered, 1033), 1);
    EXPECT_EQ(indexOfLcid(offered, 2052), 0);
    EXPECT_EQ(indexOfLcid(offered, 1049), -1); // a language in use but not offered: no selection

    const std::map<int, int> withUnknown = {{2070, 1}, {1049, 1}, {4242, 1}, {1031, 1}};
    EXPECT_EQ(namesOf(offeredLanguages(withUnknown)),
              QStringList({QStringLiteral("Deutsch"), QStringLiteral("Русский язык"),
                           QStringLiteral("Português")}));

    EXPECT_TRUE(offeredLanguages(QMap<int, int>()).isEmpty());
    EXPECT_TRUE(offeredLanguages(QSet<int>{0, -1, 9999}).isEmpty());
    EXPECT_EQ(indexOfLcid({}, 2052), -1);

    QSet<int> everything;
    for (const LanguageChoiceRow& row : languageChoice())
        everything.insert(row.lcid);
    EXPECT_EQ(offeredLanguages(everything).size(), qsizetype(languageChoice().size()));
}

} // namespace
