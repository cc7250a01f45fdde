#include "StoreFixture.h"

#include "store/SettingKey.h"

namespace corvane::store::test {
namespace {

class Settings : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(openNew());
    }
};

TEST_F(Settings, ANewProfileHasExactlyFortyRowsWithTheDefaultsInOrder) {
    const int first = db().createProfile(ProfileRecord{});
    const int second = db().createProfile(ProfileRecord{});
    ASSERT_EQ(first, 1);
    ASSERT_EQ(second, 2);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata"), 80);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata WHERE profile = 2"), 40);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(DISTINCT key) FROM t_configdata WHERE profile = 2"),
              40);

    const QStringList keys =
        readColumn(dbPath(), "SELECT key FROM t_configdata WHERE profile = 2 ORDER BY config_id");
    const QStringList values =
        readColumn(dbPath(), "SELECT value FROM t_configdata WHERE profile = 2 ORDER BY config_id");
    ASSERT_EQ(keys.size(), 40);
    EXPECT_EQ(keys.front(), "version");
    EXPECT_EQ(keys.back(), "doubleclick_time");
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(keys[i], QString::fromUtf8(kSettingKeys[i].name));
        EXPECT_EQ(values[i], QString::fromUtf8(kSettingKeys[i].defaultValue));
    }
}

TEST_F(Settings, DefaultValuesAreTheDecimalTextsOfTheTable) {
    ASSERT_EQ(db().createProfile(ProfileRecord{}), 1);
    const struct {
        const char16_t* key;
        const char* value;
    } samples[] = {
        {u"version", "1.0.1"},
        {u"lightmode", "3"},
        {u"report_rate", "2"},
        {u"report_rate_wireless", "1"},
        {u"report_flag", "127"},
        {u"sensor_flag", "53"},
        {u"e-sports_flag", "0"},
        {u"dpi_flag", "6"},
        {u"dpi_index", "1"},
        {u"dpi_count", "6"},
        {u"dpi_group0_value", "800"},
        {u"dpi_group5_value", "26000"},
        {u"dpi_group7_value", "0"},
        {u"dpi_group0_rgb", "255"},
        {u"dpi_group1_rgb", "16711680"},
        {u"dpi_group6_rgb", "16712191"},
        {u"dpi_group8_rgb", "2139135"},
        {u"doubleclick_time", "550"},
    };
    for (const auto& sample : samples) {
        QString value;
        EXPECT_TRUE(db().getSetting(1, sample.key, value))
            << QString::fromUtf16(sample.key).toStdString();
        EXPECT_EQ(value, QString::fromUtf8(sample.value));
    }
}

TEST_F(Settings, ValuesAreWrittenAndReadBackPerProfile) {
    ASSERT_EQ(db().createProfile(ProfileRecord{}), 1);
    ASSERT_EQ(db().createProfile(ProfileRecord{}), 2);
    EXPECT_TRUE(db().setSetting(1, u"dpi_group1_value", QStringLiteral("1234")));
    EXPECT_TRUE(db().setSetting(2, u"dpi_group1_value", 4321));
    QString value;
    EXPECT_TRUE(db().getSetting(1, u"dpi_group1_value", value));
    EXPECT_EQ(value, "1234");
    EXPECT_EQ(db().getSettingInt(2, u"dpi_group1_value"), 4321);
    EXPECT_EQ(db().getSettingInt(2, u"version"), 1); // "1.0.1" read by its leading digits
}

TEST_F(Settings, AKeyWithoutARowIsNeitherStoredNorFound) {
    ASSERT_EQ(db().createProfile(ProfileRecord{}), 1);
    EXPECT_TRUE(db().setSetting(1, u"no_such_key", QStringLiteral("7")));
    EXPECT_TRUE(db().setSetting(9, u"dpi_index", QStringLiteral("7"))); // no such profile
    QString value = QStringLiteral("stale");
    EXPECT_FALSE(db().getSetting(1, u"no_such_key", value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_EQ(db().getSettingInt(1, u"no_such_key"), 0);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata"), 40);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata WHERE value = '7'"), 0);
}

TEST(SettingValueToInt, ReadsTheLeadingNumber) {
    const struct {
        const char16_t* text;
        int value;
    } cases[] = {
        {u"800", 800},
        {u"  42", 42},
        {u"-5", -5},
        {u"+7", 7},
        {u"12abc", 12},
        {u"abc", 0},
        {u"", 0},
        {u"1.0.1", 1},
        {u"99999999999", 2147483647},
        {u"-99999999999", -2147483647 - 1},
        {u"- 3", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(settingValueToInt(QStringView(c.text)), c.value)
            << QString::fromUtf16(c.text).toStdString();
    }
}

using Profiles = Settings;

TEST_F(Profiles, AreCreatedListedRenamedAndReadBack) {
    std::vector<ProfileRecord> profiles;
    EXPECT_EQ(db().listProfiles(profiles), 0);

    ProfileRecord record;
    record.name = QStringLiteral("Profile 1");
    record.app = QStringLiteral("ignored?");
    record.status = 1; // status and type are always created as 0
    record.type = 5;
    ASSERT_EQ(db().createProfile(record), 1);
    record.name = QStringLiteral("Work");
    ASSERT_EQ(db().createProfile(record), 2);

    ASSERT_EQ(db().listProfiles(profiles), 2);
    EXPECT_EQ(profiles[0].id, 1);
    EXPECT_EQ(profiles[0].name, "Profile 1");
    EXPECT_EQ(profiles[0].status, 0);
    EXPECT_EQ(profiles[0].app, "ignored?");
    EXPECT_EQ(profiles[0].type, 0);
    EXPECT_EQ(profiles[1].id, 2);
    EXPECT_EQ(profiles[1].name, "Work");

    EXPECT_TRUE(db().renameProfile(2, QStringLiteral("Play")));
    QString name;
    EXPECT_TRUE(db().getProfileName(2, name));
    EXPECT_EQ(name, "Play");

    // An id without a row: the rename changes nothing and the read finds nothing.
    EXPECT_TRUE(db().renameProfile(7, QStringLiteral("Ghost")));
    EXPECT_FALSE(db().getProfileName(7, name));
    EXPECT_TRUE(name.isEmpty());
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_profile_data WHERE name = 'Ghost'"), 0);
}

TEST_F(Profiles, ExactlyOneIsCurrentAfterASwitch) {
    EXPECT_EQ(db().getCurrentProfile(), 0); // no profiles at all
    for (int i = 1; i <= 4; ++i) {
        ASSERT_EQ(db().createProfile(ProfileRecord{}), i);
    }
    EXPECT_EQ(db().getCurrentProfile(), 0); // none marked yet

    EXPECT_TRUE(db().setCurrentProfile(3));
    EXPECT_EQ(db().getCurrentProfile(), 3);
    EXPECT_TRUE(db().setCurrentProfile(2));
    EXPECT_EQ(db().getCurrentProfile(), 2);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_profile_data WHERE status = 1"), 1);

    // An id that matches no row leaves none current.
    EXPECT_TRUE(db().setCurrentProfile(9));
    EXPECT_EQ(db().getCurrentProfile(), 0);
}

TEST_F(Profiles, IdsAreNeverReused) {
    ASSERT_EQ(db().createProfile(ProfileRecord{}), 1);
    ASSERT_EQ(db().connection().exec("DELETE FROM t_profile_data"), kSqliteOk);
    EXPECT_EQ(db().createProfile(ProfileRecord{}), 2);
}

TEST_F(Profiles, NullTextColumnsReadAsEmptyTexts) {
    ASSERT_EQ(db().connection().exec("INSERT INTO t_profile_data(profile) VALUES (1)"), kSqliteOk);
    ASSERT_EQ(
        db().connection().exec("INSERT INTO t_configdata(profile, key) VALUES (1, 'dpi_index')"),
        kSqliteOk);
    std::vector<ProfileRecord> profiles;
    ASSERT_EQ(db().listProfiles(profiles), 1);
    EXPECT_TRUE(profiles[0].name.isEmpty());
    EXPECT_TRUE(profiles[0].app.isEmpty());
    QString name = QStringLiteral("stale");
    EXPECT_TRUE(db().getProfileName(1, name));
    EXPECT_TRUE(name.isEmpty());
    QString value = QStringLiteral("stale");
    EXPECT_TRUE(db().getSetting(1, u"dpi_index", value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_EQ(db().getSettingInt(1, u"dpi_index"), 0);
}

} // namespace
} // namespace corvane::store::test
