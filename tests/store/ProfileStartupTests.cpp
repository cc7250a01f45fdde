#include "StoreFixture.h"

#include "store/ProfileStartup.h"

namespace corvane::store::test {
namespace {

class ProfileStartup : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(openNew());
    }

    ProfileStartupHooks hooks(const QString& word = QStringLiteral("Profile")) {
        return {[this, word] {
                    ++wordReads_;
                    return word;
                },
                [this](int profile) {
                    factoryProfiles_.push_back(profile);
                    // What the catalog's factory writer does: settings of this profile.
                    db().setSetting(profile, u"dpi_group0_value", 400 * profile);
                }};
    }

    int wordReads_ = 0;
    std::vector<int> factoryProfiles_;
};

TEST_F(ProfileStartup, ANewFileGetsFourProfilesWithDefaultsAndFactoryValues) {
    const LoadedProfiles loaded = loadProfiles(db(), hooks());
    EXPECT_EQ(loaded.currentProfile, 1);
    EXPECT_EQ(loaded.buttonText, "Profile 1");
    EXPECT_EQ(db().getCurrentProfile(), 1);

    std::vector<ProfileRecord> profiles;
    ASSERT_EQ(db().listProfiles(profiles), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(profiles[i].id, i + 1);
        EXPECT_EQ(profiles[i].name, QStringLiteral("Profile %1").arg(i + 1));
        EXPECT_EQ(profiles[i].status, i == 0 ? 1 : 0);
        EXPECT_EQ(db().getSettingInt(i + 1, u"dpi_group0_value"), 400 * (i + 1));
        EXPECT_EQ(db().getSettingInt(i + 1, u"dpi_group1_value"), 1600);
    }
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata"), 160);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata WHERE profile = 0"), 0);
    EXPECT_EQ(factoryProfiles_, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(ProfileStartup, TheProfileWordIsAskedAfreshForEachProfile) {
    const QStringList words = {"Profile", "配置", "Konfiguration", "Конфигурация", "Profile"};
    int next = 0;
    ProfileStartupHooks changing{[&] { return words[next++ % words.size()]; }, nullptr};
    loadProfiles(db(), changing);
    EXPECT_EQ(readColumn(dbPath(), "SELECT name FROM t_profile_data ORDER BY profile"),
              (QStringList{"Profile 1", "配置 2", "Konfiguration 3", "Конфигурация 4"}));
}

TEST_F(ProfileStartup, AFileWithProfilesGetsNoNewOnesAndKeepsItsCurrentProfile) {
    loadProfiles(db(), hooks());
    ASSERT_TRUE(db().setCurrentProfile(3));
    factoryProfiles_.clear();

    const LoadedProfiles loaded = loadProfiles(db(), hooks(QStringLiteral("配置")));
    EXPECT_EQ(loaded.currentProfile, 3);
    EXPECT_EQ(loaded.buttonText, "配置 3");
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_profile_data"), 4);
    EXPECT_TRUE(factoryProfiles_.empty());
}

TEST_F(ProfileStartup, AFileWithoutACurrentProfileGetsTheFirstMadeCurrent) {
    loadProfiles(db(), hooks());
    ASSERT_EQ(db().connection().exec("UPDATE t_profile_data SET status = 0"), kSqliteOk);
    ASSERT_EQ(db().getCurrentProfile(), 0);

    const LoadedProfiles loaded = loadProfiles(db(), hooks());
    EXPECT_EQ(loaded.currentProfile, 1);
    EXPECT_EQ(db().getCurrentProfile(), 1);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_profile_data WHERE status = 1"), 1);
}

TEST_F(ProfileStartup, NewProfilesUseTheIdsSqliteGives) {
    // Profiles once deleted by hand: AUTOINCREMENT goes on from 4.
    loadProfiles(db(), hooks());
    ASSERT_EQ(db().connection().exec("DELETE FROM t_profile_data"), kSqliteOk);
    factoryProfiles_.clear();

    const LoadedProfiles loaded = loadProfiles(db(), hooks());
    EXPECT_EQ(factoryProfiles_, (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(loaded.currentProfile, 5);
    EXPECT_EQ(loaded.buttonText, "Profile 1");
    EXPECT_EQ(db().getSettingInt(8, u"dpi_group0_value"), 3200);
}

TEST_F(ProfileStartup, AClosedStoreGivesNoProfileAndAnEmptyTitle) {
    ASSERT_TRUE(db().close());
    const LoadedProfiles loaded = loadProfiles(db(), hooks());
    EXPECT_EQ(loaded.currentProfile, 0);
    EXPECT_EQ(loaded.buttonText, QString());
    EXPECT_TRUE(factoryProfiles_.empty());
}

TEST_F(ProfileStartup, StoredDefaultNamesAreTranslatedOnTheButtonAndInTheList) {
    loadProfiles(db(), hooks(QStringLiteral("Profile")));
    ASSERT_TRUE(db().renameProfile(3, QStringLiteral("Konfiguration 3")));
    ASSERT_TRUE(db().renameProfile(4, QStringLiteral("My setup")));

    // After a switch to Russian.
    const QString word = QStringLiteral("Конфигурация");
    EXPECT_EQ(profileButtonText(db(), 1, word), "Конфигурация 1");
    EXPECT_EQ(profileButtonText(db(), 3, word), "Конфигурация 3");
    EXPECT_EQ(profileButtonText(db(), 4, word), "My setup");
    EXPECT_EQ(profileButtonText(db(), 9, word), QString());

    // The pop-up list knows only the first two words.
    std::vector<ProfileRecord> profiles;
    ASSERT_EQ(db().listProfiles(profiles), 4);
    QStringList listed;
    for (const ProfileRecord& profile : profiles) {
        listed << profileDisplayName(profile.name, kShortProfileWords, word);
    }
    EXPECT_EQ(listed,
              (QStringList{"Конфигурация 1", "Конфигурация 2", "Konfiguration 3", "My setup"}));
}

struct NameCase {
    const char* label;
    const char16_t* stored;
    bool fullList;
    const char16_t* word;
    const char16_t* shown;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.label;
}

class DisplayName : public ::testing::TestWithParam<NameCase> {};

TEST_P(DisplayName, ReplacesALeadingProfileWordOnly) {
    const NameCase& c = GetParam();
    const std::span<const QStringView> words =
        c.fullList ? std::span<const QStringView>(kFullProfileWords)
                   : std::span<const QStringView>(kShortProfileWords);
    EXPECT_EQ(profileDisplayName(QStringView(c.stored), words, QStringView(c.word)),
              QString::fromUtf16(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Names, DisplayName,
    ::testing::Values(
        NameCase{"EnglishOnButton", u"Profile 1", true, u"配置", u"配置 1"},
        NameCase{"ChineseOnButton", u"配置 2", true, u"Profile", u"Profile 2"},
        NameCase{"ChineseInList", u"配置 2", false, u"Profile", u"Profile 2"},
        NameCase{"GermanOnButton", u"Konfiguration 3", true, u"Profile", u"Profile 3"},
        NameCase{"GermanNotInList", u"Konfiguration 3", false, u"Profile", u"Konfiguration 3"},
        NameCase{"ArabicOnButton", u"لتكوين 4", true, u"Profile", u"Profile 4"},
        NameCase{"VietnameseOnButton", u"Cấu hình 1", true, u"構成", u"構成 1"},
        NameCase{"PortugueseOnButton", u"Configuração 2", true, u"Profile", u"Profile 2"},
        NameCase{"FrenchOnButton", u"Configuration 2", true, u"Profile", u"Profile 2"},
        NameCase{"WordAlone", u"Profile", true, u"配置", u"配置"},
        NameCase{"WordWithoutBlank", u"Profile7", true, u"配置", u"配置 7"},
        NameCase{"TwoBlanksKept", u"Profile  2", true, u"配置", u"配置  2"},
        NameCase{"OtherCase", u"profile 1", true, u"配置", u"profile 1"},
        NameCase{"WordInsideName", u"My Profile 1", true, u"配置", u"My Profile 1"},
        NameCase{"EmptyName", u"", true, u"配置", u""}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace corvane::store::test
