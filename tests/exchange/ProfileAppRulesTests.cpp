// The applications a profile is for travel in its file: written last in profileinfo,
// where a reader that walks forward to the elements it knows never looks.
#include "ProfileFixture.h"

#include "store/AppList.h"

namespace corvane::exchange::test {
namespace {

const QString kGame = QStringLiteral("steam_app_730");
const QString kEditor = QStringLiteral("org.gnome.gedit");
const QString kFixture = QStringLiteral(CORVANE_TEST_DATA_DIR "/profile_rules.xml");

class ProfileAppRules : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        for (int id = 1; id <= 4; ++id)
            ASSERT_EQ(addProfile(QStringLiteral("Profile %1").arg(id)), id);
        ASSERT_TRUE(db().setCurrentProfile(1));
    }

    static QStringList apps(int profile) {
        QString stored;
        EXPECT_TRUE(db().getProfileApps(profile, stored));
        return store::parseAppList(stored);
    }
    static void give(int profile, const QStringList& list) {
        ASSERT_TRUE(db().setProfileApps(profile, store::formatAppList(list)));
    }
    // A profile file with these app_rules children after a plain profile.
    QString fileWithApps(const QByteArray& apps) {
        const QString path = file(QStringLiteral("rules.xml"));
        EXPECT_TRUE(writeFile(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>"
                                    "<profileinfo name=\"p\"><keyitems/><Mouse/><app_rules>" +
                                        apps + "</app_rules></profileinfo></profile>"));
        return path;
    }
};

// The file written for a profile with applications: the layout stays as it was, with
// app_rules last (a fixture, so the files of this version stay readable).
TEST_F(ProfileAppRules, TheApplicationsAreWrittenLast) {
    ASSERT_GT(db().saveBinding(binding(2, 0, 1, 1)), 0);
    give(2, {kGame, QStringLiteral("Blender & <co>")});
    ASSERT_EQ(exportProfile(db(), 2, file(QStringLiteral("p.xml")), {}), ExchangeStatus::Done);
    EXPECT_EQ(fileBytes(file(QStringLiteral("p.xml"))), fileBytes(kFixture));
}

// Exported from profile 2, imported into profile 3: profile 3 is now for those
// applications, in place of its own, and profile 2 no longer is (an application chooses
// one profile). Profiles that named none of them keep theirs.
TEST_F(ProfileAppRules, ARoundTripMovesTheApplicationsToTheTargetProfile) {
    give(2, {kGame, kEditor});
    give(3, {QStringLiteral("blender")});
    give(4, {QStringLiteral("firefox"), kEditor.toUpper()});
    const QString path = file(QStringLiteral("Games.xml"));
    ASSERT_EQ(exportProfile(db(), 2, path, {}), ExchangeStatus::Done);

    const ProfileImportResult result = importProfile(db(), 3, path, takingEveryBinding());
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_EQ(apps(3), (QStringList{kGame, kEditor}));
    EXPECT_EQ(apps(2), QStringList());
    EXPECT_EQ(apps(4), QStringList{QStringLiteral("firefox")}) << "letter case ignored";
    EXPECT_EQ(apps(1), QStringList());
    EXPECT_EQ(result.appsMovedFrom, (std::vector<int>{2, 4}));

    // Into another store, whose profiles never heard of them.
    ASSERT_TRUE(use(QStringLiteral("target")));
    ASSERT_EQ(addProfile(QStringLiteral("Profile 1")), 1);
    ASSERT_EQ(importProfile(db(), 1, path, takingEveryBinding()).status, ExchangeStatus::Done);
    EXPECT_EQ(apps(1), (QStringList{kGame, kEditor}));
}

// Files without applications (every file written before, and those of profiles that name
// none) leave the target profile's applications as they are.
TEST_F(ProfileAppRules, AFileWithoutApplicationsKeepsTheProfilesOwn) {
    give(1, {kGame});
    for (const QString& path :
         {QStringLiteral(CORVANE_TEST_DATA_DIR "/profile_plain.xml"),
          QStringLiteral(CORVANE_TEST_DATA_DIR "/profile_full.xml"), fileWithApps({})}) {
        ASSERT_EQ(importProfile(db(), 1, path, takingEveryBinding()).status, ExchangeStatus::Done)
            << path.toStdString();
        EXPECT_EQ(apps(1), QStringList{kGame}) << path.toStdString();
    }
}

// The reader that knows nothing of app_rules (and any reader walking forward the same
// way) takes from a file with them exactly what it takes from the file without them.
TEST_F(ProfileAppRules, ReadersThatDoNotKnowTheApplicationsReadTheRestTheSame) {
    QByteArray withRules = fileBytes(kFixture);
    ASSERT_TRUE(withRules.contains("<app_rules>"));
    QByteArray without = withRules;
    without.remove(without.indexOf("<app_rules>"),
                   without.indexOf("</app_rules>\r\n") + 14 - without.indexOf("<app_rules>"));
    ASSERT_FALSE(without.contains("app"));
    const QString plainPath = file(QStringLiteral("Same.xml"));
    ASSERT_TRUE(writeFile(plainPath, without));

    const ProfileImportResult plain = importProfile(db(), 1, plainPath, takingEveryBinding());
    ASSERT_EQ(plain.status, ExchangeStatus::Done);
    const ProfileRows expected = rowsOf(1);
    ASSERT_TRUE(use(QStringLiteral("target")));
    ASSERT_EQ(addProfile(QStringLiteral("Profile 1")), 1);
    const QString rulesPath = file(QStringLiteral("Same.xml"));
    ASSERT_TRUE(writeFile(rulesPath, withRules));
    const ProfileImportResult rules = importProfile(db(), 1, rulesPath, takingEveryBinding());
    ASSERT_EQ(rules.status, ExchangeStatus::Done);
    EXPECT_EQ(rules.refused, plain.refused);
    EXPECT_EQ(rowsOf(1, QStringLiteral("target")), expected);
}

// Names a rule cannot hold are left out and counted; the others are taken.
TEST_F(ProfileAppRules, NamesOutsideTheRulesAreLeftOut) {
    give(2, {kGame});
    const QByteArray tooLong = QByteArray(256, 'a');
    const QString path =
        fileWithApps("<app name=\"a&#9;b\"/><app name=\"" + tooLong +
                     "\"/><app name=\"  \"/><app/><app name=\"x&#x85;y\"/>"
                     "<app name=\" " +
                     kGame.toUtf8() + " \"/><app name=\"" + QByteArray(255, 'c') + "\"/>");
    const ProfileImportResult result = importProfile(db(), 1, path, takingEveryBinding());
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_EQ(result.refused, 5);
    EXPECT_EQ(apps(1), (QStringList{kGame, QString(255, u'c')}));
    EXPECT_EQ(apps(2), QStringList());

    // Nothing left to take: the profile keeps its own, and so does every other.
    give(1, {kEditor});
    const ProfileImportResult none = importProfile(
        db(), 1, fileWithApps("<app name=\"a&#1;\"/><app name=\"\"/>"), takingEveryBinding());
    ASSERT_EQ(none.status, ExchangeStatus::Done);
    EXPECT_EQ(none.refused, 2);
    EXPECT_EQ(apps(1), QStringList{kEditor});
}

// More applications than a profile holds: the file is refused whole, the store untouched.
TEST_F(ProfileAppRules, AFileWithThousandsOfApplicationsIsRefusedWhole) {
    give(1, {kEditor});
    give(2, {QStringLiteral("app7")});
    const QByteArray before = fileBytes(dbPath());
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
        many += "<app name=\"app" + QByteArray::number(i) + "\"/>";
    const ProfileImportResult result =
        importProfile(db(), 1, fileWithApps(many), takingEveryBinding());
    EXPECT_EQ(result.status, ExchangeStatus::WrongLayout);
    EXPECT_EQ(fileBytes(dbPath()), before);

    // Exactly as many as a profile holds is a profile.
    many.clear();
    for (std::size_t i = 0; i < store::kMaxProfileApps; ++i)
        many += "<app name=\"app" + QByteArray::number(qulonglong(i)) + "\"/>";
    ASSERT_EQ(importProfile(db(), 1, fileWithApps(many), takingEveryBinding()).status,
              ExchangeStatus::Done);
    EXPECT_EQ(apps(1).size(), qsizetype(store::kMaxProfileApps));
    EXPECT_EQ(apps(2), QStringList());
}

// The applications move in the same store step as the rest: a write failing after the
// move from another profile undoes the move, the name and the bindings alike.
TEST_F(ProfileAppRules, AFailedImportMovesNoApplication) {
    give(2, {kGame});
    give(1, {kEditor});
    ASSERT_GT(db().saveBinding(binding(1, 0, 1, 1)), 0);
    ASSERT_EQ(db().connection().exec("CREATE TRIGGER refuse BEFORE UPDATE OF app ON "
                                     "t_profile_data WHEN NEW.profile = 1 BEGIN "
                                     "SELECT RAISE(ABORT, 'full'); END"),
              store::kSqliteOk);
    const QByteArray before = fileBytes(dbPath());
    const ProfileImportResult result = importProfile(
        db(), 1, fileWithApps("<app name=\"" + kGame.toUtf8() + "\"/>"), takingEveryBinding());
    EXPECT_EQ(result.status, ExchangeStatus::StoreFailed);
    EXPECT_FALSE(result.pushProfile);
    EXPECT_EQ(fileBytes(dbPath()), before);
    EXPECT_EQ(apps(2), QStringList{kGame});
    EXPECT_EQ(apps(1), QStringList{kEditor});
}

} // namespace
} // namespace corvane::exchange::test
