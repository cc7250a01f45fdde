#include "TestSupport.h"

#include "app/start/AppState.h"
#include "app/start/LanguageStartup.h"
#include "app/start/LocaleLcid.h"
#include "app/start/UserKey.h"
#include "catalog/DeviceCatalog.h"
#include "i18n/LanguageTexts.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvane::app;
namespace catalog = corvane::catalog;
namespace i18n = corvane::i18n;
using corvane::app::test::MemoryUserValues;
using corvane::app::test::readFile;
using corvane::app::test::writeFile;

namespace {

std::vector<int> offered(const AppState& state) {
    std::vector<int> lcids;
    for (const auto& [lcid, enabled] : state.supportedLanguages) {
        EXPECT_TRUE(enabled);
        lcids.push_back(lcid);
    }
    return lcids;
}

TEST(StartupConfig, LanguagesDefaultAndCaption) {
    AppState state;
    state.supportedLanguages[1058] = true; // from an earlier read: cleared first
    applyStartupConfig(state, 1033, {2052, 1033, 1049}, QStringLiteral("Mouse X"));
    EXPECT_EQ(state.currentLcid, 1033);
    EXPECT_EQ(offered(state), (std::vector<int>{1033, 1049, 2052}));
    EXPECT_EQ(state.deviceName, QStringLiteral("Mouse X"));
}

TEST(StartupConfig, MissingConfigLeavesNoLanguagesAndTheInitialLanguage) {
    AppState state;
    state.supportedLanguages[1033] = true;
    applyStartupConfig(state, std::nullopt, {}, std::nullopt);
    EXPECT_TRUE(state.supportedLanguages.empty());
    EXPECT_EQ(state.currentLcid, AppState::initialLcid);
    EXPECT_TRUE(state.deviceName.isEmpty());
}

TEST(StartupConfig, LanguageBlockWithoutSoftwareKeepsTheName) {
    AppState state;
    state.deviceName = QStringLiteral("Earlier");
    applyStartupConfig(state, 1041, {1041}, std::nullopt);
    EXPECT_EQ(state.currentLcid, 1041);
    EXPECT_EQ(state.deviceName, QStringLiteral("Earlier"));
}

struct LanguageCase {
    const char* what;
    std::vector<int> offered;
    std::optional<QString> stored;
    int uiLcid;
    int used;
    QString storedAfter;
};

TEST(ChooseLanguage, StoredChoiceAndInterfaceLanguage) {
    const LanguageCase cases[] = {
        {"first run, interface language offered",
         {1033, 1049, 2052},
         std::nullopt,
         1049,
         1049,
         "1049"},
        {"first run, interface language not offered",
         {1033, 2052},
         std::nullopt,
         1049,
         1033,
         "1033"},
        {"stored choice offered", {1033, 1041}, QStringLiteral("1041"), 1049, 1041, "1041"},
        {"stored choice no longer offered",
         {1033, 2052},
         QStringLiteral("1041"),
         2052,
         1033,
         "1033"},
        {"stored 0 counts as no choice", {1033, 1031}, QStringLiteral("0"), 1031, 1031, "1031"},
        {"stored non-number counts as no choice",
         {1033, 1031},
         QStringLiteral("de"),
         1031,
         1031,
         "1031"},
        {"nothing offered (no config)", {}, std::nullopt, 2052, 1033, "1033"},
    };
    for (const LanguageCase& c : cases) {
        AppState state;
        applyStartupConfig(state, 2052, c.offered, std::nullopt);
        MemoryUserValues values;
        if (c.stored)
            values.values[QStringLiteral("LCID")] = *c.stored;
        EXPECT_EQ(chooseLanguage(state, values, c.uiLcid), c.used) << c.what;
        EXPECT_EQ(state.currentLcid, c.used) << c.what;
        EXPECT_EQ(values.values[QStringLiteral("LCID")], c.storedAfter) << c.what;
    }
}

TEST(ChooseLanguage, OfferedStoredChoiceIsNotRewritten) {
    AppState state;
    applyStartupConfig(state, 2052, {1033, 1041}, std::nullopt);
    MemoryUserValues values;
    values.values[QStringLiteral("LCID")] = QStringLiteral("1041");
    chooseLanguage(state, values, 1033);
    EXPECT_TRUE(values.writes.empty());
}

TEST(ChooseLanguage, FirstRunCreatesTheStoredValue) {
    QTemporaryDir dir;
    UserKey key(UserKey::filePathFor(dir.path(), QStringLiteral("Mouse")));
    AppState state;
    applyStartupConfig(state, 2052, {1033, 2052, 1036}, std::nullopt);
    EXPECT_EQ(chooseLanguage(state, key, 1036), 1036);
    EXPECT_EQ(readFile(key.filePath()), QByteArray("LCID=1036\n"));
    // the next run starts from the stored choice, whatever the desktop says
    AppState next;
    applyStartupConfig(next, 2052, {1033, 2052, 1036}, std::nullopt);
    EXPECT_EQ(chooseLanguage(next, key, 1033), 1036);
}

TEST(ChooseLanguage, UnavailableStoreMeansChinese) {
    QTemporaryDir dir;
    writeFile(dir.path() + QStringLiteral("/blocked"), "x");
    UserKey key(
        UserKey::filePathFor(dir.path() + QStringLiteral("/blocked"), QStringLiteral("Mouse")));
    AppState state;
    applyStartupConfig(state, 1033, {1033, 2052}, std::nullopt);
    EXPECT_EQ(chooseLanguage(state, key, 1033), 2052);
}

// A first start with the installation's own files: a desktop language we offer is taken
// (German), one we do not (Dutch) gives English texts, never an empty window.
TEST(ChooseLanguage, FirstStartTakesTheDesktopsLanguageOrEnglish) {
    const QString installation = QStringLiteral(CORVANE_SOURCE_DIR "/data");
    const catalog::StartupInfo info =
        catalog::readStartupInfo(installation + QStringLiteral("/config.xml"));
    ASSERT_TRUE(info.loaded);
    const struct {
        const char* locale;
        int lcid;
    } cases[] = {{"de_DE", 1031}, {"nl_NL", 1033}};
    for (const auto& c : cases) {
        AppState state;
        applyStartupConfig(state, info.defaultLanguage, info.languages, std::nullopt);
        ASSERT_FALSE(state.offers(1043)) << "the test needs a language we do not offer";
        MemoryUserValues values;
        const int lcid =
            chooseLanguage(state, values, lcidOfLocale(QLocale(QString::fromLatin1(c.locale))));
        EXPECT_EQ(lcid, c.lcid) << c.locale;
        i18n::setProgramFolder(installation);
        i18n::setCurrentLcid(lcid);
        EXPECT_FALSE(i18n::lookupText(i18n::kTextSection, 1).isEmpty()) << c.locale;
        EXPECT_EQ(values.values[QStringLiteral("LCID")], QString::number(c.lcid)) << c.locale;
    }
}

TEST(LocaleLcid, LanguagesTheSettingsPageOffers) {
    const struct {
        const char* locale;
        int lcid;
    } cases[] = {
        {"zh_CN", 2052}, {"zh_SG", 2052}, {"zh_TW", 1028}, {"zh_HK", 1028}, {"ar_EG", 1025},
        {"de_DE", 1031}, {"de_AT", 1031}, {"en_US", 1033}, {"en_GB", 1033}, {"es_ES", 1034},
        {"es_MX", 1034}, {"fr_FR", 1036}, {"fr_CA", 1036}, {"it_IT", 1040}, {"ja_JP", 1041},
        {"pl_PL", 1045}, {"ru_RU", 1049}, {"uk_UA", 1058}, {"vi_VN", 1066}, {"pt_PT", 2070},
        {"pt_BR", 2070},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lcidOfLocale(QLocale(QString::fromLatin1(c.locale))), c.lcid) << c.locale;
}

TEST(LocaleLcid, OtherLanguagesAndUnknownOnes) {
    EXPECT_EQ(lcidOfLocale(QLocale(QStringLiteral("ko_KR"))), 1042);
    EXPECT_EQ(lcidOfLocale(QLocale(QStringLiteral("nl_NL"))), 1043);
    EXPECT_EQ(lcidOfLocale(QLocale(QStringLiteral("tr_TR"))), 1055);
    EXPECT_EQ(lcidOfLocale(QLocale::c()), 1033);
    EXPECT_EQ(lcidOfLocale(QLocale(QLocale::Zulu)), 1033);
}

} // namespace
