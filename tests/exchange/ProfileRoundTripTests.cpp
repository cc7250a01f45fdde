#include "ProfileFixture.h"

#include "store/MacroRecords.h"

#include <csignal>
#include <sys/resource.h>

namespace corvane::exchange::test {
namespace {

class ProfileFiles : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        ASSERT_EQ(addProfile(QStringLiteral("Profile 1")), 1);
        ASSERT_EQ(addProfile(QStringLiteral("Profile 2")), 2);
        ASSERT_TRUE(db().setCurrentProfile(1));
    }

    static int addMacro(const QString& name) {
        store::MacroDefinition macro;
        macro.name = name;
        const int id = db().insertMacro(macro);
        store::MacroEvent step;
        step.macroId = id;
        step.type = 2;
        step.value = 65;
        step.desc = name;
        db().insertMacroEvent(step);
        step.type = 3;
        step.index = 1;
        db().insertMacroEvent(step);
        return id;
    }

    static ProfileExportOptions lit() {
        ProfileExportOptions options;
        options.hasLighting = true;
        options.profileWord = QStringLiteral("Profile");
        options.origin = {7, QStringLiteral("Corvane M1")};
        return options;
    }
    static ProfileImportOptions litImport() {
        ProfileImportOptions options = takingEveryBinding();
        options.hasLighting = true;
        return options;
    }
};

// --- the written bytes ----------------------------------------------------------------------

TEST_F(ProfileFiles, LayoutWithLightsMouseAndMacrosBytes) {
    db().createMacro(QStringLiteral("unused"));
    const int macro = addMacro(QStringLiteral("Hold <A> & \"go\""));
    ASSERT_TRUE(db().renameProfile(2, QStringLiteral("Mine & yours")));
    ASSERT_GT(db().saveBinding(binding(2, 3, 4, macro, 0, 0, QStringLiteral("Hold <A>"))), 0);
    ASSERT_GT(db().saveBinding(binding(2, 1, 2, 4, 2, 0)), 0);
    ASSERT_TRUE(db().deleteLights(2));
    ASSERT_EQ(db().createDefaultLights(2, {true, false, true, false, false, false}), 2);
    ASSERT_TRUE(db().setCurrentLightMode(2, 3));

    ASSERT_EQ(exportProfile(db(), 2, file(QStringLiteral("p.xml")), lit()), ExchangeStatus::Done);
    EXPECT_EQ(fileBytes(file(QStringLiteral("p.xml"))),
              fileBytes(QStringLiteral(CORVANE_TEST_DATA_DIR "/profile_full.xml")));
}

TEST_F(ProfileFiles, StatedLayoutBytes) {
    ASSERT_GT(db().saveBinding(binding(1, 0, 1, 1)), 0);
    ASSERT_EQ(exportProfile(db(), 1, file(QStringLiteral("p.xml")), {}), ExchangeStatus::Done);
    EXPECT_EQ(fileBytes(file(QStringLiteral("p.xml"))),
              fileBytes(QStringLiteral(CORVANE_TEST_DATA_DIR "/profile_plain.xml")));
}

// --- round trips ---------------------------------------------------------------------------

struct TextCase {
    const char* label;
    QString text;
};
void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.label;
}

class ProfileRoundTrip : public ProfileFiles, public ::testing::WithParamInterface<TextCase> {};

// Exported from a profile that is not the current one, the file holds that profile
// whole; imported into another profile, and into another store, it gives the same rows.
TEST_P(ProfileRoundTrip, ToAnotherProfileAndAnotherStore) {
    const QString& text = GetParam().text;
    db().createMacro(QStringLiteral("unused")); // the bound macro is 2 here
    const int macro = addMacro(text);
    fillProfile(2, macro, text);
    const ProfileRows source = rowsOf(2);
    const QString path = file(QStringLiteral("Moved ") + text + QStringLiteral(".xml"));
    ASSERT_EQ(exportProfile(db(), 2, path, lit()), ExchangeStatus::Done);

    const ProfileImportResult same = importProfile(db(), 1, path, litImport());
    ASSERT_EQ(same.status, ExchangeStatus::Done);
    EXPECT_TRUE(same.pushProfile);
    EXPECT_EQ(same.profileName, QStringLiteral("Moved ") + text);
    EXPECT_TRUE(same.macros.empty()); // the identical macro is used again
    EXPECT_EQ(rowsOf(1), source);
    QString name;
    ASSERT_TRUE(db().getProfileName(1, name));
    EXPECT_EQ(name, QStringLiteral("Moved ") + text);

    // Another store: the macro comes with the file and gets this store's next id.
    ASSERT_TRUE(use(QStringLiteral("target")));
    ASSERT_EQ(addProfile(QStringLiteral("Profile 1")), 1);
    const ProfileImportResult other = importProfile(db(), 1, path, litImport());
    ASSERT_EQ(other.status, ExchangeStatus::Done);
    ASSERT_EQ(other.macros.size(), 1u);
    EXPECT_EQ(other.macros[0].id, 1);
    EXPECT_EQ(other.macros[0].name, text);
    EXPECT_EQ(other.origin.deviceType, 7);
    EXPECT_EQ(other.origin.deviceName, QStringLiteral("Corvane M1"));
    QStringList withoutMacroId = kBindingColumns;
    withoutMacroId.removeAll(QStringLiteral("macro_value"));
    EXPECT_EQ(rowsOf(1, QStringLiteral("target"), withoutMacroId),
              rowsOf(2, QStringLiteral("source"), withoutMacroId));
    const QString played =
        QStringLiteral("t_key_macro_data b JOIN t_macrorecord r ON b.macro_value = r.macro_id "
                       "JOIN t_macro_data m ON m.macro_id = r.macro_id");
    const QStringList macroColumns = {
        QStringLiteral("b.key_code"),     QStringLiteral("m.name"), QStringLiteral("r.type"),
        QStringLiteral("r.record_index"), QStringLiteral("r.desc"), QStringLiteral("r.value")};
    const QString order =
        QStringLiteral("WHERE b.macro_type = 4 AND b.profile = %1 ORDER BY b.key_code, "
                       "r.record_index");
    EXPECT_EQ(tableRows(dbPath(QStringLiteral("target")), played, macroColumns, order.arg(1)),
              tableRows(dbPath(), played, macroColumns, order.arg(2)));
}

INSTANTIATE_TEST_SUITE_P(Texts, ProfileRoundTrip,
                         ::testing::Values(TextCase{"Markup", QStringLiteral("a < b & c > d")},
                                           TextCase{"Quotes", QStringLiteral("it's \"quoted\"")},
                                           TextCase{"Chinese", QStringLiteral("配置 宏")},
                                           TextCase{"Arabic", QStringLiteral("لتكوين ٣")},
                                           TextCase{"Emoji", QStringLiteral("🎮 go 𝄞")}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProfileFiles, TheNewNameComesFromTheFileName) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("/a/b/Work.xml"), QStringLiteral("Work")},
        {QStringLiteral("Shout.XML"), QStringLiteral("Shout")},
        {QStringLiteral("/a/two.dots.xml"), QStringLiteral("two.dots")},
        {QStringLiteral("/a/no ending"), QStringLiteral("no ending")},
        {QStringLiteral("/a/x.xml.bak"), QStringLiteral("x.xml.bak")},
        {QStringLiteral("/a/.xml"), QString()},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(profileNameFromPath(path), name) << path.toStdString();
    }
    // A file named only ".xml" leaves the profile its name.
    ASSERT_EQ(exportProfile(db(), 2, file(QStringLiteral(".xml")), {}), ExchangeStatus::Done);
    const ProfileImportResult result =
        importProfile(db(), 1, file(QStringLiteral(".xml")), takingEveryBinding());
    EXPECT_EQ(result.profileName, QStringLiteral("Profile 1"));
    QString name;
    ASSERT_TRUE(db().getProfileName(1, name));
    EXPECT_EQ(name, QStringLiteral("Profile 1"));
}

TEST_F(ProfileFiles, FilesSayWhichMouseTheyWereMadeFor) {
    ASSERT_EQ(exportProfile(db(), 1, file(QStringLiteral("m1.xml")), lit()), ExchangeStatus::Done);
    ASSERT_EQ(exportProfile(db(), 1, file(QStringLiteral("plain.xml")), {}), ExchangeStatus::Done);
    const std::optional<FileOrigin> m1 = readProfileOrigin(file(QStringLiteral("m1.xml")));
    ASSERT_TRUE(m1.has_value());
    EXPECT_TRUE(m1->isKnown());
    EXPECT_EQ(m1->deviceType, 7);
    EXPECT_EQ(m1->deviceName, QStringLiteral("Corvane M1"));
    const std::optional<FileOrigin> plain = readProfileOrigin(file(QStringLiteral("plain.xml")));
    ASSERT_TRUE(plain.has_value());
    EXPECT_FALSE(plain->isKnown());
    EXPECT_FALSE(readProfileOrigin(file(QStringLiteral("missing.xml"))).has_value());
    ASSERT_TRUE(writeFile(file(QStringLiteral("macro.xml")), "<macro device_type=\"7\"/>"));
    EXPECT_FALSE(readProfileOrigin(file(QStringLiteral("macro.xml"))).has_value());
}

TEST_F(ProfileFiles, ExportFailuresAreReportedAndKeepTheFileThere) {
    EXPECT_EQ(exportProfile(db(), 9, file(QStringLiteral("none.xml")), {}),
              ExchangeStatus::NotFound);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("none.xml"))));
    EXPECT_EQ(exportProfile(db(), 1, file(QStringLiteral("no/such/folder.xml")), {}),
              ExchangeStatus::WriteFailed);
    EXPECT_EQ(exportProfile(db(), 1, file(QString()), {}), ExchangeStatus::WriteFailed);

    // A write that fails part-way (the file size limit stands in for a full disk) leaves
    // the file that was there untouched.
    const QString path = file(QStringLiteral("kept.xml"));
    ASSERT_TRUE(writeFile(path, "precious"));
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const ExchangeStatus status = exportProfile(db(), 1, path, lit());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(status, ExchangeStatus::WriteFailed);
    EXPECT_EQ(fileBytes(path), "precious");
    EXPECT_EQ(QDir(file({})).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("kept.xml")}); // no temporary file left
}

} // namespace
} // namespace corvane::exchange::test
