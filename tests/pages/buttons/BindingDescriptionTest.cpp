// The key list's texts for stored bindings and the macro list's names: the catalogue's
// descriptions, the per-language custom and copy words, and the menus' contents.
#include "pages/buttons/BindingDescription.h"
#include "pages/buttons/BindingCatalog.h"

#include "control/names/MacroWords.h"
#include "i18n/IniFile.h"
#include "i18n/LanguageChoice.h"
#include "i18n/LanguageTexts.h"

#include <gtest/gtest.h>

#include <QFile>

namespace corvane::pages {
namespace {

// "<id>" for every text, so a result shows which text it used.
QString numbered(int id) {
    return QStringLiteral("<%1>").arg(id);
}

store::ButtonBinding binding(int type, int value, const QString& desc = QStringLiteral("stored")) {
    store::ButtonBinding b;
    b.macroType = type;
    b.macroValue = value;
    b.macroDesc = desc;
    return b;
}

TEST(DescribeBinding, KnownValuesUseTheCatalogueTextAndTheRestTheStoredOne) {
    struct Case {
        int type, value;
        QString expected;
    };
    const Case cases[] = {
        {1, 1, "<106>"},  {1, 4, "<180>"}, {1, 7, "<112>"},   {1, 10, "<115>"},  {1, 11, "stored"},
        {2, 4, "stored"}, {3, 3, "<124>"}, {3, 9, "stored"},  {5, 1, "stored"},  {5, 3, "stored"},
        {6, 1, "<151>"},  {6, 6, "<155>"}, {7, 200, "<161>"}, {8, 9, "<31>"},    {8, 11, "<36>"},
        {8, 10, "<32>"},  {9, 1, "<139>"}, {9, 77, "<139>"},  {12, 1, "stored"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(describeBinding(binding(c.type, c.value), 1033, numbered), c.expected)
            << "type " << c.type << " value " << c.value;
    }
}

TEST(DescribeBinding, MacroNamesAreReWordedForTheLanguage) {
    struct Case {
        int lcid;
        QString stored, expected;
    };
    const Case cases[] = {
        // A foreign "custom" prefix gives the custom word and the rest behind it.
        {2052, "Custom 3", "<351> 3"},
        {1033, "自定义 2", "<351> 2"},
        {1033, "Custom 2", "Custom 2"}, // the language's own word is left alone
        {1049, "カスタム1", "<351>1"},
        {1028, "Пользоват 5", "<351> 5"},
        // A foreign "copy" suffix: the part before its first occurrence, then the
        // language's pattern (the blank before the word stays).
        {1033, "Macro 复制", "Macro  Copy"},
        {2052, "Macro Copy", "Macro  复制"},
        {1049, "A Copy", "A  Копировать"},
        {1028, "Copy of Copy", " 複製"},
        {1049, "A Копировать", "A Копировать"}, // 1049 has no Russian copy word to try
        // The prefix wins over the suffix; a language without macro words changes nothing.
        {2052, "Custom Copy", "<351> Copy"},
        {9999, "Custom Copy", "Custom Copy"},
        {2052, "plain", "plain"},
        // Every offered language takes the others' words and gives its own copy word.
        {1031, "Custom Copy", "<351> Copy"},
        {1036, "Benutzerdefiniert 2", "<351> 2"},
        {1025, "Personnalisé 4", "<351> 4"},
        {1034, "A نسخ", "A  Copiar"},
        {1058, "A Kopiuj", "A  Копіювати"},
        {1049, "A 複製", "A  Копировать"},
        {1025, "A Copier", "A  نسخ"},
        // The whole Russian word goes, not only its first nine letters.
        {1033, "Пользовательский 3", "<351> 3"},
        // A word the language shares with another, or one of its other forms, stays.
        {2070, "A Copiar", "A Copiar"},
        {1041, "A コピー", "A コピー"},
        {1028, "自定義 1", "自定義 1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(describeBinding(binding(4, 7, c.stored), c.lcid, numbered), c.expected)
            << c.lcid << " " << c.stored.toStdString();
    }
}

TEST(MacroDisplayName, CustomPrefixThenCopySuffix) {
    EXPECT_EQ(macroDisplayName("Custom 2", numbered), "<351> 2");
    EXPECT_EQ(macroDisplayName("自定义7", numbered), "<351>7");
    EXPECT_EQ(macroDisplayName("Macro Copy", numbered), "Macro  <31>");
    EXPECT_EQ(macroDisplayName("Custom 1 复制", numbered), "<351> 1  <31>");
    EXPECT_EQ(macroDisplayName("Copy", numbered), " <31>");
    EXPECT_EQ(macroDisplayName("100%", numbered), "100%");
    EXPECT_EQ(macroDisplayName("Personalizzata 3 Kopiuj", numbered), "<351> 3  <31>");
}

// A name made in any offered language is recognised: each language's custom word (text
// 351) and copy word (text 31) are among its macro words.
TEST(MacroWords, HoldEveryLanguagesOwnWords) {
    const QString folder = QStringLiteral(CORVANE_SOURCE_DIR "/data");
    for (const i18n::LanguageChoiceRow& row : i18n::languageChoice()) {
        QFile file(i18n::languageFile(folder, row.lcid));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << row.lcid;
        const i18n::IniFile texts = i18n::IniFile::fromBytes(file.readAll(), "UTF-8");
        const QString custom = texts.value(i18n::kTextSection, u"351");
        const QString copy = texts.value(i18n::kTextSection, u"31");
        EXPECT_TRUE(control::isOwnWord(control::customWords(), custom.toStdU16String(), row.lcid))
            << row.lcid << " custom word " << custom.toStdString();
        EXPECT_TRUE(control::isOwnWord(control::copyWords(), copy.toStdU16String(), row.lcid))
            << row.lcid << " copy word " << copy.toStdString();
    }
}

TEST(BindingCatalog, MenusHoldTheirItemsInOrderAndEveryPairIsListedOnce) {
    auto values = [](FunctionMenu menu) {
        std::vector<int> v;
        for (const CatalogEntry& e : menuEntries(menu))
            v.push_back(e.value);
        return v;
    };
    EXPECT_EQ(values(FunctionMenu::Mouse), (std::vector<int>{1, 3, 2, 5, 6, 4}));
    EXPECT_EQ(values(FunctionMenu::Media), (std::vector<int>{6, 7, 8, 1, 2, 4, 5, 3}));
    EXPECT_EQ(values(FunctionMenu::Dpi), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(values(FunctionMenu::Device), (std::vector<int>{1, 2}));
    EXPECT_EQ(values(FunctionMenu::System), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 10}));
    for (const CatalogEntry& e : bindingCatalog()) {
        const auto found = findCatalogEntry(e.type, e.value);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->menu, e.menu) << e.type << "/" << e.value;
        EXPECT_EQ(menuBindingType(e.menu), e.menu == FunctionMenu::None ? 0 : e.type);
    }
    EXPECT_EQ(menuResetPosition(FunctionMenu::Media), 4);
    EXPECT_EQ(menuResetPosition(FunctionMenu::System), 3);
    EXPECT_EQ(menuResetPosition(FunctionMenu::Dpi), 0);
}

} // namespace
} // namespace corvane::pages
