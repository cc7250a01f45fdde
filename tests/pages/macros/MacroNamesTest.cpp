// How the macro list shows stored names in the language in use.
#include "pages/macros/MacroNames.h"

#include <gtest/gtest.h>

namespace corvane::pages {
namespace {

TEST(MacroNames, CustomAndCopyWordsShowInTheLanguage) {
    const QString custom = QStringLiteral("Eigen");
    const QString copy = QStringLiteral("Kopie");
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"Custom 2", u"Eigen 2"},
        {u"\u81EA\u5B9A\u4E49 3", u"Eigen 3"},
        {u"Macro Copy", u"Macro  Kopie"}, // the blank before the word stays
        {u"Custom 1 Copy", u"Eigen 1  Kopie"},
        {u"A\u590D\u5236", u"A Kopie"},
        {u"Copy of Copy", u" Kopie"}, // cut at the word's first occurrence
        {u"Customer", u"Eigener"},
        // Names made in the other offered languages.
        {u"Personnalisé 5", u"Eigen 5"},
        {u"\u0645\u062E\u0635\u0635 6", u"Eigen 6"},
        {u"Macro Sao chép", u"Macro  Kopie"},
        {u"Macro", u"Macro"},
        {u"", u""},
    };
    for (const auto& [stored, shown] : cases) {
        EXPECT_EQ(macroDisplayName(QString::fromUtf16(stored), custom, copy),
                  QString::fromUtf16(shown))
            << QString::fromUtf16(stored).toStdString();
    }
}

} // namespace
} // namespace corvane::pages
