#include "StoreFixture.h"

namespace corvane::store::test {
namespace {

class AppRules : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(openNew());
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(db().createProfile(ProfileRecord{}), i + 1);
    }
};

TEST_F(AppRules, AProfilesApplicationListIsKeptInItsRowAndOnlyThere) {
    ASSERT_TRUE(db().setProfileApps(3, QStringLiteral("steam_app_730\nblender")));
    QString apps;
    ASSERT_TRUE(db().getProfileApps(3, apps));
    EXPECT_EQ(apps, QStringLiteral("steam_app_730\nblender"));
    EXPECT_EQ(readColumn(dbPath(), "SELECT app FROM t_profile_data ORDER BY profile"),
              (QStringList{"", "", "steam_app_730\nblender", ""}));
    // No row for profile 9: refused, nothing written.
    EXPECT_FALSE(db().setProfileApps(9, QStringLiteral("obs")));
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_profile_data"), 4);
}

TEST_F(AppRules, TheDefaultProfileIsOneUntilSetAndKeepsOneRow) {
    EXPECT_EQ(db().getDefaultAppProfile(), 1);
    ASSERT_TRUE(db().setDefaultAppProfile(2));
    ASSERT_TRUE(db().setDefaultAppProfile(4));
    EXPECT_EQ(db().getDefaultAppProfile(), 4);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata WHERE profile = 0"), 1);
    // The forty rows of each profile are untouched.
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata WHERE profile > 0"), 160);
}

} // namespace
} // namespace corvane::store::test
