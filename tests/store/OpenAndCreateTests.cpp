#include "StoreFixture.h"

#include "store/ProfileStartup.h"

#include <QFileInfo>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

namespace corvane::store::test {
namespace {

const QStringList kSchemaObjects = {
    "t_configdata",     "t_profile_data", "profileindex", "t_key_macro_data", "keyindex",
    "t_key_otherdata",  "otheridindex",   "t_macro_data", "macroidindex",     "t_macrorecord",
    "macrorecordindex", "t_light_data",   "lightindex",   "t_key_light_data", "keylightindex",
};

const char kSchemaQuery[] = "SELECT name FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' "
                            "ORDER BY rowid";

using OpenForDevice = StoreTest;

TEST_F(OpenForDevice, CreatesAMissingFileWithTheWholeSchemaInOrder) {
    ASSERT_TRUE(openNew(QStringLiteral("m100")));
    EXPECT_TRUE(db().opened());
    EXPECT_TRUE(db().isOpen());
    EXPECT_EQ(db().path(), dbPath(QStringLiteral("m100")));
    EXPECT_EQ(readColumn(dbPath(QStringLiteral("m100")), kSchemaQuery), kSchemaObjects);
    EXPECT_EQ(readInt(dbPath(QStringLiteral("m100")), "SELECT count(*) FROM t_profile_data"), 0);
}

TEST_F(OpenForDevice, AddsTheSeparatorToADataFolderWithoutOne) {
    ASSERT_TRUE(db().openForDevice(dir_.path(), QStringLiteral("m")));
    EXPECT_TRUE(QFileInfo::exists(dbPath(QStringLiteral("m"))));
}

TEST_F(OpenForDevice, OpensAnExistingFileWithoutAddingTables) {
    {
        SQLiteDB other;
        ASSERT_TRUE(other.open(dbPath().toUtf8().constData(), kOpenCreate));
        ASSERT_EQ(other.exec("CREATE TABLE t_configdata(config_id INTEGER PRIMARY KEY "
                             "AUTOINCREMENT, profile INTEGER, key TEXT, value TEXT)"),
                  kSqliteOk);
    }
    const QByteArray before = fileBytes(dbPath());

    ASSERT_TRUE(openNew());
    EXPECT_TRUE(db().opened());
    // Queries on the tables the file lacks fail quietly.
    EXPECT_EQ(db().createProfile(ProfileRecord{}), 0);
    std::vector<ProfileRecord> profiles(1);
    EXPECT_EQ(db().listProfiles(profiles), 0);
    EXPECT_TRUE(profiles.empty());
    EXPECT_EQ(db().createMacro(QStringLiteral("m")), 0);
    EXPECT_EQ(db().insertMacro(MacroDefinition{}), 0);
    EXPECT_EQ(db().insertMacroEvent(MacroEvent{}), 0);
    EXPECT_EQ(db().saveBinding(ButtonBinding{0, 1, 0, 3, 0, {}, 1, 1, 0, 0, {}}), 0);
    EXPECT_EQ(db().insertLight(LightEffect{}), 0);
    EXPECT_FALSE(db().deleteBindings(1));
    EXPECT_EQ(db().countLights(1), 0);
    ASSERT_TRUE(db().close());

    EXPECT_EQ(readColumn(dbPath(), kSchemaQuery), QStringList{"t_configdata"});
    // A failed profile insert writes no settings rows under profile 0.
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata"), 0);
    EXPECT_EQ(fileBytes(dbPath()), before);
}

TEST_F(OpenForDevice, KeepsTheConnectionWhenTheSameFileIsOpenedAgain) {
    ASSERT_TRUE(openNew());
    const int id = db().createMacro(QStringLiteral("m"));
    ASSERT_GT(id, 0);
    EXPECT_TRUE(openNew());
    // The last insert id belongs to the connection: it survives only if the
    // connection was kept.
    EXPECT_EQ(db().connection().lastInsertRowId(), id);
}

TEST_F(OpenForDevice, SwitchesToTheFileOfAnotherDeviceType) {
    ASSERT_TRUE(openNew(QStringLiteral("first")));
    ASSERT_GT(db().createMacro(QStringLiteral("of the first")), 0);
    ASSERT_TRUE(openNew(QStringLiteral("second")));
    EXPECT_EQ(db().path(), dbPath(QStringLiteral("second")));
    ASSERT_GT(db().createMacro(QStringLiteral("of the second")), 0);

    EXPECT_EQ(readColumn(dbPath(QStringLiteral("first")), "SELECT name FROM t_macro_data"),
              QStringList{"of the first"});
    EXPECT_EQ(readColumn(dbPath(QStringLiteral("second")), "SELECT name FROM t_macro_data"),
              QStringList{"of the second"});
}

TEST_F(OpenForDevice, CloseClearsOpenedAndIsRefusedWhileAStatementIsPrepared) {
    ASSERT_TRUE(openNew());
    {
        SQLiteStatement statement;
        ASSERT_EQ(db().connection().prepare(statement, "SELECT 1", -1), kSqliteOk);
        EXPECT_FALSE(db().close());
        EXPECT_TRUE(db().isOpen());
        EXPECT_TRUE(db().opened());
    }
    EXPECT_TRUE(db().close());
    EXPECT_FALSE(db().isOpen());
    EXPECT_FALSE(db().opened());
}

// Files that are not sound databases: the store stays closed, nothing is
// written, and the file keeps its bytes.
struct DamagedFile {
    const char* name;
    QByteArray (*make)(const QString& goodFile);
};

QByteArray notADatabase(const QString&) {
    return QByteArray("name=value\r\nThis is a settings text, not a database.\r\n").repeated(40);
}
QByteArray truncatedDatabase(const QString& goodFile) {
    const QByteArray bytes = fileBytes(goodFile);
    return bytes.left(bytes.size() / 2);
}
QByteArray headerOnly(const QString& goodFile) {
    return fileBytes(goodFile).left(100);
}
QByteArray scrambledPages(const QString& goodFile) {
    QByteArray bytes = fileBytes(goodFile);
    for (qsizetype i = 4096; i < bytes.size(); i += 7) {
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    }
    return bytes;
}

void PrintTo(const DamagedFile& file, std::ostream* out) {
    *out << file.name;
}

class DamagedDatabaseFile : public StoreTest, public ::testing::WithParamInterface<DamagedFile> {};

TEST_P(DamagedDatabaseFile, IsLeftUntouchedAndEveryOperationFailsQuietly) {
    // A real store with profiles, written elsewhere and then damaged.
    const QString goodFile = dataFolder() + QStringLiteral("good.db");
    {
        ASSERT_TRUE(openNew(QStringLiteral("good")));
        loadProfiles(db(), {[] { return QStringLiteral("Profile"); }, nullptr});
        for (int i = 0; i < 200; ++i) {
            db().insertMacroEvent(MacroEvent{0, 1, 1, i, 0x41, i, QStringLiteral("A down")});
        }
        ASSERT_TRUE(db().close());
        ASSERT_TRUE(QFile::rename(dbPath(QStringLiteral("good")), goodFile));
    }
    const QByteArray damaged = GetParam().make(goodFile);
    ASSERT_FALSE(damaged.isEmpty());
    ASSERT_TRUE(writeFile(dbPath(), damaged));
    const QStringList contentsBefore = folderContents();

    EXPECT_FALSE(openNew());
    EXPECT_FALSE(db().opened());
    EXPECT_FALSE(db().isOpen());
    EXPECT_FALSE(db().createDatabase());

    EXPECT_EQ(db().createProfile(ProfileRecord{}), 0);
    EXPECT_FALSE(db().setSetting(1, u"dpi_index", 3));
    EXPECT_EQ(db().getCurrentProfile(), 0);
    EXPECT_EQ(db().saveBinding(ButtonBinding{0, 1, 0, 3, 0, {}, 1, 1, 0, 0, {}}), 0);
    EXPECT_EQ(db().createMacro(QStringLiteral("m")), 0);
    EXPECT_FALSE(db().insertMacroEvents({MacroEvent{}}));
    EXPECT_EQ(db().createDefaultLights(1, {true, true, true, true, true, true}), 0);
    const LoadedProfiles loaded =
        loadProfiles(db(), {[] { return QStringLiteral("Profile"); }, nullptr});
    EXPECT_EQ(loaded.currentProfile, 0);
    EXPECT_EQ(loaded.buttonText, QString());

    EXPECT_EQ(fileBytes(dbPath()), damaged);
    EXPECT_EQ(folderContents(), contentsBefore);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedDatabaseFile,
                         ::testing::Values(DamagedFile{"NotADatabase", notADatabase},
                                           DamagedFile{"Truncated", truncatedDatabase},
                                           DamagedFile{"HeaderOnly", headerOnly},
                                           DamagedFile{"ScrambledPages", scrambledPages}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OpenForDevice, ADirectoryInPlaceOfTheFileIsNotOpened) {
    ASSERT_TRUE(QDir(dataFolder()).mkpath(QStringLiteral("db/mouse_data1.db")));
    EXPECT_FALSE(openNew());
    EXPECT_FALSE(db().isOpen());
    EXPECT_TRUE(QFileInfo(dbPath()).isDir());
}

TEST_F(OpenForDevice, ADataFolderThatCannotBeWrittenLeavesTheStoreClosed) {
    // A regular file where the data folder should be: nothing can be made
    // below it, whoever runs the test.
    const QString blocked = dataFolder() + QStringLiteral("blocked");
    ASSERT_TRUE(writeFile(blocked, "not a folder"));
    EXPECT_FALSE(db().openForDevice(blocked + u'/', QStringLiteral("mouse")));
    EXPECT_FALSE(db().isOpen());
    EXPECT_EQ(db().createProfile(ProfileRecord{}), 0);
    EXPECT_EQ(loadProfiles(db(), {}).currentProfile, 0);
    EXPECT_EQ(fileBytes(blocked), QByteArray("not a folder"));

    // A data folder without its db subfolder: the store does not make it.
    QDir(dataFolder()).rmdir(QStringLiteral("db"));
    EXPECT_FALSE(openNew());
    EXPECT_FALSE(QFileInfo::exists(dataFolder() + QStringLiteral("db")));
}

TEST_F(OpenForDevice, AFileThatCouldNotGetItsSchemaIsNotLeftBehind) {
    // With the file size limit at 0 SQLite can create the file but not write
    // a page into it, so the schema fails.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit none = saved;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    const bool opened = openNew();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(opened);
    EXPECT_FALSE(db().isOpen());
    EXPECT_FALSE(QFileInfo::exists(dbPath()));
    // The next start creates it whole.
    ASSERT_TRUE(openNew());
    EXPECT_EQ(readColumn(dbPath(), kSchemaQuery), kSchemaObjects);
}

TEST(StoreWithoutAPath, CreatesNoDatabase) {
    // Run in a process of its own, where the store has never been given a
    // folder: SQLite would take an empty name for a throw-away database.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ProfileDatabase& store = ProfileDatabase::instance();
            const bool created = store.createDatabase();
            std::exit(!created && !store.isOpen() && store.createProfile(ProfileRecord{}) == 0 ? 0
                                                                                               : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(OpenForDevice, EveryQueryOnAClosedStoreFailsQuietlyAndLeavesNoFile) {
    const QStringList before = folderContents();
    QString text = QStringLiteral("stale");
    std::vector<ProfileRecord> profiles(2);
    std::vector<ButtonBinding> bindings(2);
    std::vector<MacroDefinition> macros(2);
    std::vector<MacroEvent> events(2);
    std::vector<LightEffect> lights(2);
    ButtonBinding binding;
    binding.macroValue = 1;
    MacroDefinition macro;
    LightEffect light;

    EXPECT_FALSE(db().getSetting(1, u"dpi_index", text));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(db().getSettingInt(1, u"dpi_index"), 0);
    EXPECT_FALSE(db().setSetting(1, u"dpi_index", QStringLiteral("2")));
    EXPECT_EQ(db().insertDefaultSettings(1), 0);
    EXPECT_EQ(db().createProfile(ProfileRecord{}), 0);
    EXPECT_FALSE(db().renameProfile(1, QStringLiteral("x")));
    text = QStringLiteral("stale");
    EXPECT_FALSE(db().getProfileName(1, text));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(db().listProfiles(profiles), 0);
    EXPECT_TRUE(profiles.empty());
    EXPECT_FALSE(db().setCurrentProfile(1));
    EXPECT_EQ(db().getCurrentProfile(), 0);

    EXPECT_EQ(db().saveBinding(binding), 0);
    EXPECT_FALSE(db().getBinding(1, 1, binding));
    EXPECT_FALSE(db().updateBindingDesc(1, 1, QStringLiteral("x")));
    EXPECT_EQ(db().listBindings(1, bindings), 0);
    EXPECT_TRUE(bindings.empty());
    EXPECT_FALSE(db().deleteBindings(1));

    EXPECT_EQ(db().createMacro(QStringLiteral("m")), 0);
    EXPECT_EQ(db().insertMacro(macro), 0);
    EXPECT_FALSE(db().renameMacro(1, QStringLiteral("m")));
    EXPECT_FALSE(db().updateMacro(1, macro));
    EXPECT_FALSE(db().getMacro(1, macro));
    EXPECT_EQ(db().listMacros(macros), 0);
    EXPECT_TRUE(macros.empty());
    EXPECT_FALSE(db().deleteMacro(1));
    EXPECT_EQ(db().insertMacroEvent(MacroEvent{}), 0);
    EXPECT_FALSE(db().insertMacroEvents({MacroEvent{}, MacroEvent{}}));
    EXPECT_EQ(db().listMacroEvents(1, events), 0);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(db().deleteMacroEvents(1));

    EXPECT_EQ(db().countLights(1), 0);
    EXPECT_EQ(db().insertLight(light), 0);
    EXPECT_FALSE(db().updateLight(1, light));
    EXPECT_FALSE(db().setCurrentLightMode(1, 1));
    EXPECT_EQ(db().getCurrentLightMode(1), 0);
    EXPECT_FALSE(db().getLight(1, 1, light));
    EXPECT_EQ(db().listLights(1, lights), 0);
    EXPECT_TRUE(lights.empty());
    EXPECT_FALSE(db().deleteLights(1));
    EXPECT_EQ(db().createDefaultLights(1, {true, true, true, true, true, true}), 0);

    EXPECT_EQ(db().connection().lastInsertRowId(), -1);
    EXPECT_EQ(folderContents(), before);
}

} // namespace
} // namespace corvane::store::test
