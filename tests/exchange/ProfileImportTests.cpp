#include "ProfileFixture.h"

#include "store/MacroRecords.h"

namespace corvane::exchange::test {
namespace {

// Profile 1 (current) filled with every field, with one stored macro (id 1).
class ProfileImports : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        ASSERT_EQ(addProfile(QStringLiteral("Profile 1")), 1);
        ASSERT_TRUE(db().setCurrentProfile(1));
        ASSERT_EQ(db().createMacro(QStringLiteral("stored")), 1);
        fillProfile(1, 1);
    }

    // A profile file with the given children of profileinfo.
    QString profileFile(const QByteArray& children,
                        const QString& name = QStringLiteral("in.xml")) {
        const QString path = file(name);
        EXPECT_TRUE(writeFile(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>"
                                    "<profileinfo name=\"ignored\">" +
                                        children + "</profileinfo></profile>"));
        return path;
    }

    static ProfileImportOptions lit(std::optional<int> sensor = std::nullopt) {
        ProfileImportOptions options = takingEveryBinding();
        options.hasLighting = true;
        options.sensorId = sensor;
        return options;
    }

    static QString setting(const char16_t* key) {
        QString value;
        db().getSetting(1, QStringView(key), value);
        return value;
    }
};

// --- hostile and broken files ------------------------------------------------------------------

struct HostileCase {
    const char* label;
    QByteArray bytes;
    ExchangeStatus status;
};
void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.label;
}

QByteArray nested(int depth, const QByteArray& inside = {}) {
    return QByteArray("<a>").repeated(depth) + inside + QByteArray("</a>").repeated(depth);
}

QByteArray exportedText() {
    return "<profile><profileinfo name=\"p\"><keyitems><item key_code=\"1\" macro_type=\"2\" "
           "macro_value=\"4\" macro_value2=\"0\" macro_value3=\"0\" macro_desc=\"A\"/></keyitems>"
           "<Mouse_DPI dpi_flag=\"3\" dpi_index=\"0\" dpi_count=\"3\"><DPI1 value=\"400\" "
           "color=\"1\"/></Mouse_DPI><Mouse><report_rate value=\"8\"/></Mouse></profileinfo>"
           "</profile>";
}

class HostileProfileFile : public ProfileImports,
                           public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileProfileFile, LeavesTheStoreByteForByte) {
    const QString path = file(QStringLiteral("hostile.xml"));
    ASSERT_TRUE(writeFile(path, GetParam().bytes));
    const QByteArray before = fileBytes(dbPath());
    const ProfileImportResult result = importProfile(db(), 1, path, lit());
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_FALSE(result.pushProfile);
    EXPECT_EQ(fileBytes(dbPath()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileProfileFile,
    ::testing::Values(
        HostileCase{"WrongRoot", "<macro><profileinfo/></macro>", ExchangeStatus::WrongLayout},
        // The stated reader renamed the profile and dropped its bindings here.
        HostileCase{"NoProfileInfo",
                    "<profile><keyitems><item key_code=\"1\" macro_type=\"2\" "
                    "macro_value=\"4\"/></keyitems><Mouse_DPI dpi_count=\"2\"/></profile>",
                    ExchangeStatus::WrongLayout},
        HostileCase{"Truncated", exportedText().left(exportedText().size() / 2),
                    ExchangeStatus::NotWellFormed},
        HostileCase{"CutInsideATag", exportedText().left(40), ExchangeStatus::NotWellFormed},
        HostileCase{"TwoRoots", exportedText() + exportedText(), ExchangeStatus::NotWellFormed},
        HostileCase{"NotMarkup", "\x89PNG\r\n\x1a\n binary \xff\xfe",
                    ExchangeStatus::NotWellFormed},
        HostileCase{"Empty", "", ExchangeStatus::NotWellFormed},
        HostileCase{"DeepNestingWithoutProfileInfo", "<profile>" + nested(100000) + "</profile>",
                    ExchangeStatus::WrongLayout},
        HostileCase{"ProfileInfoDeepDown",
                    "<profile>" + nested(5000, "<profileinfo><keyitems/></profileinfo>") +
                        "</profile>",
                    ExchangeStatus::WrongLayout},
        HostileCase{"AboveSixteenMebibytes", exportedText() + QByteArray(16 * 1024 * 1024, ' '),
                    ExchangeStatus::FileTooLarge},
        // Item counts no mouse has: refused before anything is looked up or stored.
        HostileCase{"ThousandsOfBindings",
                    "<profile><profileinfo name=\"p\"><keyitems>" +
                        QByteArray("<item key_code=\"1\" macro_type=\"4\" macro_value=\"5\"/>")
                            .repeated(513) +
                        "</keyitems><Mouse/></profileinfo></profile>",
                    ExchangeStatus::WrongLayout},
        HostileCase{"ThousandsOfMacros",
                    "<profile><profileinfo name=\"p\"><keyitems/><Mouse/><key_macros>" +
                        QByteArray("<macro_item macro_id=\"5\" macro_name=\"m\" macro_type=\"0\" "
                                   "play_times=\"1\" delay_type=\"1\" delay_time=\"0\"/>")
                            .repeated(1001) +
                        "</key_macros></profileinfo></profile>",
                    ExchangeStatus::WrongLayout}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProfileImports, MissingFilesAndFoldersImportNothing) {
    const QByteArray before = fileBytes(dbPath());
    EXPECT_EQ(importProfile(db(), 1, file(QStringLiteral("none.xml")), lit()).status,
              ExchangeStatus::FileMissing);
    EXPECT_EQ(importProfile(db(), 1, file(QString()), lit()).status, ExchangeStatus::FileMissing);
    EXPECT_EQ(importProfile(db(), 1, QString(), lit()).status, ExchangeStatus::FileMissing);
    EXPECT_EQ(importProfile(db(), 9, profileFile({}), lit()).status, ExchangeStatus::NotFound);
    EXPECT_EQ(fileBytes(dbPath()), before);
}

// A write failing part-way (a full disk, a locked file) undoes the whole import: the
// name, the bindings deleted and those written, every setting.
TEST_F(ProfileImports, AFailedWriteUndoesEverything) {
    ASSERT_EQ(db().connection().exec("CREATE TRIGGER refuse BEFORE INSERT ON t_key_macro_data "
                                     "WHEN NEW.macro_desc = 'boom' BEGIN "
                                     "SELECT RAISE(ABORT, 'full'); END"),
              store::kSqliteOk);
    const QString path = profileFile(
        "<keyitems><item key_code=\"0\" macro_type=\"2\" macro_value=\"5\" macro_desc=\"fine\"/>"
        "<item key_code=\"1\" macro_type=\"2\" macro_value=\"6\" macro_desc=\"boom\"/></keyitems>"
        "<Mouse_DPI dpi_flag=\"2\" dpi_index=\"0\" dpi_count=\"2\"/>");
    const QByteArray before = fileBytes(dbPath());
    const ProfileImportResult result = importProfile(db(), 1, path, lit());
    EXPECT_EQ(result.status, ExchangeStatus::StoreFailed);
    EXPECT_FALSE(result.pushProfile);
    EXPECT_EQ(fileBytes(dbPath()), before);
}

// --- values the rules keep out -----------------------------------------------------------------

TEST_F(ProfileImports, ValuesOutsideTheRulesKeepTheProfilesOwn) {
    const ProfileRows before = rowsOf(1);
    const QString path = profileFile(
        "<Mouse_DPI dpi_flag=\"0\" dpi_index=\"9\" dpi_count=\"7\">"
        "<DPI1 value=\"0\" color=\"16777216\"/><DPI2 value=\"38001\" color=\"-1\"/>"
        "<DPI3 value=\"1e3\" color=\"0x10\"/><DPI4 value=\" 800\" color=\"\"/>"
        "<DPI5 value=\"-800\" color=\"99999999999\"/><DPI6/></Mouse_DPI>"
        "<Mouse><button_respondtime value=\"30\"/><report_rate value=\"3\"/>"
        "<sensor_flag value=\"256\"/><liftoff_height value=\"3\"/><scroll_flag value=\"2\"/>"
        "<e-sports_flag value=\"-1\"/><sleep_light value=\"7\"/><move_wakeup value=\"on\"/>"
        "<move_closelight/></Mouse>");
    const ProfileImportResult result = importProfile(db(), 1, path, lit());
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_EQ(result.refused, 3 + 12 + 9);
    EXPECT_EQ(rowsOf(1).settings, before.settings);
    EXPECT_EQ(rowsOf(1).lights, before.lights); // no Lightitems: the lights stay
}

TEST_F(ProfileImports, LightFieldsOutsideTheRulesKeepTheirValue) {
    store::LightEffect before;
    ASSERT_TRUE(db().getLight(1, 2, before));
    const QString path = profileFile(
        "<Lightitems lightmode=\"2\"><item light_mode=\"2\" brightness=\"5\" speed=\"3\" "
        "direction=\"7\" colorful=\"0\" colorindex=\"2\" color_value1=\"1\" color_value2=\"2\" "
        "color_value3=\"16777216\" color_value4=\"4\" color_value5=\"x\" color_value6=\"6\" "
        "color_value7=\"16777215\"/></Lightitems>");
    const ProfileImportResult result = importProfile(db(), 1, path, lit());
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_EQ(result.refused, 3);
    store::LightEffect after;
    ASSERT_TRUE(db().getLight(1, 2, after));
    EXPECT_EQ(after.brightness, before.brightness);
    EXPECT_EQ(after.speed, 3);
    EXPECT_EQ(after.direction, 7);
    EXPECT_EQ(after.colorful, 0);
    EXPECT_EQ(after.colorIndex, 2);
    EXPECT_EQ(after.colorValues, (std::array<int, 7>{1, 2, before.colorValues[2], 4,
                                                     before.colorValues[4], 6, 16777215}));
    EXPECT_EQ(after.configFunc, before.configFunc);
    EXPECT_EQ(after.name, before.name);
    EXPECT_EQ(db().getCurrentLightMode(1), 2);
}

TEST_F(ProfileImports, TheStageIndexStaysBelowTheCount) {
    struct Case {
        QByteArray count, index;
        const char* storedCount;
        const char* storedIndex;
    };
    // The profile starts with 4 stages and stage 2 active.
    const Case cases[] = {
        {"3", "1", "3", "1"}, // both taken
        {"3", "3", "3", "2"}, // the index is not below the file's count: the profile's stays
        {"9", "3", "4", "3"}, // a count outside 1..6: the profile's, which the index is below
        {"2", "x", "2", "1"}, // the profile's index is not below the new count: the last stage
        {"1", "0", "1", "0"},
    };
    for (const Case& c : cases) {
        set(1, u"dpi_count", 4);
        set(1, u"dpi_index", 2);
        const QString path = profileFile("<Mouse_DPI dpi_flag=\"1\" dpi_index=\"" + c.index +
                                         "\" dpi_count=\"" + c.count + "\"/>");
        ASSERT_EQ(importProfile(db(), 1, path, lit()).status, ExchangeStatus::Done);
        EXPECT_EQ(setting(u"dpi_count"), QString::fromLatin1(c.storedCount)) << c.count.data();
        EXPECT_EQ(setting(u"dpi_index"), QString::fromLatin1(c.storedIndex)) << c.index.data();
    }
}

TEST_F(ProfileImports, StageValuesSnapToTheSensorWhenItIsKnown) {
    const QString path = profileFile(
        "<Mouse_DPI dpi_flag=\"6\" dpi_index=\"0\" dpi_count=\"6\"><DPI1 value=\"12500\" "
        "color=\"1\"/><DPI2 value=\"30000\" color=\"1\"/><DPI3 value=\"10\" color=\"1\"/>"
        "<DPI4 value=\"10049\" color=\"1\"/></Mouse_DPI>");
    ASSERT_EQ(importProfile(db(), 1, path, lit(0x11)).status, ExchangeStatus::Done);
    EXPECT_EQ(setting(u"dpi_group0_value"), QStringLiteral("12000"));
    EXPECT_EQ(setting(u"dpi_group1_value"), QStringLiteral("24000"));
    EXPECT_EQ(setting(u"dpi_group2_value"), QStringLiteral("1600")); // below any sensor: kept
    EXPECT_EQ(setting(u"dpi_group3_value"), QStringLiteral("10000"));

    // Without a sensor, any value some sensor takes is stored as it is.
    ASSERT_EQ(importProfile(db(), 1, path, lit()).status, ExchangeStatus::Done);
    EXPECT_EQ(setting(u"dpi_group0_value"), QStringLiteral("12500"));
    EXPECT_EQ(setting(u"dpi_group1_value"), QStringLiteral("30000"));
}

// --- reading order and what the stated layout leaves alone -----------------------------------

TEST_F(ProfileImports, ElementsAreOnlyFoundInTheirOrder) {
    // Mouse children in another order lose those placed before an earlier-read one.
    ASSERT_EQ(importProfile(db(), 1,
                            profileFile("<Mouse><sleep_light value=\"60\"/><report_rate "
                                        "value=\"4\"/><liftoff_height value=\"1\"/></Mouse>"),
                            lit())
                  .status,
              ExchangeStatus::Done);
    EXPECT_EQ(setting(u"report_rate"), QStringLiteral("4"));
    EXPECT_EQ(setting(u"liftoff_height"), QStringLiteral("1"));
    EXPECT_EQ(setting(u"sleep_light"), QStringLiteral("90"));

    // Mouse placed before Mouse_DPI is not found after it.
    ASSERT_EQ(importProfile(db(), 1,
                            profileFile("<Mouse><report_rate value=\"8\"/></Mouse><Mouse_DPI "
                                        "dpi_flag=\"3\" dpi_index=\"0\" dpi_count=\"3\"/>"),
                            lit())
                  .status,
              ExchangeStatus::Done);
    EXPECT_EQ(setting(u"dpi_count"), QStringLiteral("3"));
    EXPECT_EQ(setting(u"report_rate"), QStringLiteral("4"));

    // keyitems after Mouse_DPI: the bindings come in, the stages do not.
    ASSERT_EQ(importProfile(db(), 1,
                            profileFile("<Mouse_DPI dpi_flag=\"5\" dpi_index=\"0\" "
                                        "dpi_count=\"5\"/><keyitems><item key_code=\"2\" "
                                        "macro_type=\"2\" macro_value=\"7\"/></keyitems>"),
                            lit())
                  .status,
              ExchangeStatus::Done);
    EXPECT_EQ(setting(u"dpi_count"), QStringLiteral("3"));
    EXPECT_EQ(rowsOf(1).bindings, QStringList{"0|2|0|''|2|7|0|0|''"});
}

TEST_F(ProfileImports, BindingsAreReplacedWhateverTheFileHolds) {
    // Without keyitems, and with an empty one, the profile keeps no binding.
    for (const QByteArray& children : {QByteArray(), QByteArray("<keyitems/>")}) {
        fillProfile(1, 1);
        const ProfileImportResult result = importProfile(db(), 1, profileFile(children), lit());
        ASSERT_EQ(result.status, ExchangeStatus::Done);
        EXPECT_TRUE(result.pushProfile);
        EXPECT_TRUE(rowsOf(1).bindings.isEmpty());
    }
    // Items whose two first values are 0 store nothing; a later item for the same key
    // replaces an earlier one.
    const QString path = profileFile(
        "<keyitems><item key_code=\"1\" macro_type=\"2\"/><item key_code=\"2\" macro_type=\"2\" "
        "macro_value=\"4\" macro_desc=\"a\"/><item key_code=\"2\" macro_type=\"2\" "
        "macro_value=\"5\" macro_desc=\"b\"/></keyitems>");
    ASSERT_EQ(importProfile(db(), 1, path, lit()).status, ExchangeStatus::Done);
    EXPECT_EQ(rowsOf(1).bindings, QStringList{"0|2|0|''|2|5|0|0|'b'"});
}

// What the mouse cannot hold is left out and counted before anything of it is stored (a
// refused macro binding adds no macro); the other items and values still come in.
TEST_F(ProfileImports, BindingsTheMouseRefusesAreLeftOut) {
    const QString path = profileFile(
        "<keyitems><item key_code=\"1\" macro_type=\"2\" macro_value=\"4\" macro_desc=\"a\"/>"
        "<item key_code=\"257\" macro_type=\"4\" macro_value=\"5\" macro_desc=\"far\"/>"
        "<item key_code=\"2\" macro_type=\"42\" macro_value=\"1\" macro_desc=\"odd\"/>"
        "</keyitems><Mouse><report_rate value=\"4\"/></Mouse><key_macros><macro_item "
        "macro_id=\"5\" macro_name=\"far\" macro_type=\"0\" play_times=\"1\" "
        "delay_type=\"1\" delay_time=\"0\"/></key_macros>");
    ProfileImportOptions options = lit();
    options.takesBinding = [](const store::ButtonBinding& b) {
        return b.keyCode < 8 && b.macroType != 42;
    };
    const ProfileImportResult result = importProfile(db(), 1, path, options);
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_EQ(result.refused, 2);
    EXPECT_TRUE(result.macros.empty());
    EXPECT_TRUE(result.macroKeys.empty());
    EXPECT_EQ(rowsOf(1).bindings, QStringList{"0|1|0|''|2|4|0|0|'a'"});
    EXPECT_EQ(tableRows(dbPath(), QStringLiteral("t_macro_data"), {QStringLiteral("name")}),
              QStringList{"'stored'"});
    EXPECT_EQ(setting(u"report_rate"), QStringLiteral("4"));

    // Without a rule no binding is taken: a caller that forgot cannot store garbage.
    ProfileImportOptions unset = lit();
    unset.takesBinding = nullptr;
    EXPECT_EQ(importProfile(db(), 1, path, unset).refused, 3);
    EXPECT_TRUE(rowsOf(1).bindings.isEmpty());
}

// A macro key must play a macro of this store: the file's own (key_macros), else a stored
// one of the same id (the stated rule), else the key is left out.
TEST_F(ProfileImports, MacroKeysNeverNameAMissingMacro) {
    const QString path = profileFile(
        "<keyitems><item key_code=\"0\" macro_type=\"4\" macro_value=\"1\" macro_desc=\"kept\"/>"
        "<item key_code=\"1\" macro_type=\"4\" macro_value=\"9\" macro_desc=\"gone\"/>"
        "<item key_code=\"2\" macro_type=\"4\" macro_value=\"5\" macro_desc=\"carried\"/>"
        "<item key_code=\"3\" macro_type=\"4\" macro_value=\"6\" macro_desc=\"broken\"/>"
        "<item key_code=\"4\" macro_type=\"2\" macro_value=\"4\" macro_desc=\"key\"/></keyitems>"
        "<Mouse/><key_macros><macro_item macro_id=\"5\" macro_name=\"carried\" macro_type=\"0\" "
        "play_times=\"1\" delay_type=\"1\" delay_time=\"0\"/><macro_item macro_id=\"6\" "
        "macro_name=\"broken\" macro_type=\"5\" play_times=\"1\" delay_type=\"1\" "
        "delay_time=\"0\"/><macro_item macro_id=\"7\" macro_name=\"unused\" macro_type=\"0\" "
        "play_times=\"1\" delay_type=\"1\" delay_time=\"0\"/></key_macros>");
    const ProfileImportResult result = importProfile(db(), 1, path, lit());
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_EQ(result.refused, 2);
    ASSERT_EQ(result.macros.size(), 1u);
    EXPECT_EQ(result.macros[0].id, 2);
    EXPECT_EQ(result.macros[0].name, QStringLiteral("carried"));
    EXPECT_EQ(rowsOf(1).bindings,
              (QStringList{"0|0|0|''|4|1|0|0|'kept'", "0|2|0|''|4|2|0|0|'carried'",
                           "0|4|0|''|2|4|0|0|'key'"}));
    EXPECT_EQ(tableRows(dbPath(), QStringLiteral("t_macro_data"), {QStringLiteral("name")}),
              (QStringList{"'stored'", "'carried'"}));
}

TEST_F(ProfileImports, LightsChangeOnlyForModesTheProfileHas) {
    const ProfileRows before = rowsOf(1);
    const QByteArray lights =
        "<Lightitems lightmode=\"6\"><item light_mode=\"6\" brightness=\"1\" speed=\"1\"/>"
        "</Lightitems>";
    // A mode the profile has no row for: neither the current mode nor any row changes.
    ProfileImportResult result = importProfile(db(), 1, profileFile(lights), lit());
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_EQ(result.refused, 1);
    EXPECT_EQ(rowsOf(1).lights, before.lights);
    EXPECT_EQ(db().getCurrentLightMode(1), 3);

    // A device without lighting ignores Lightitems altogether.
    const QByteArray mode1 = "<Lightitems lightmode=\"1\"><item light_mode=\"1\" brightness=\"0\" "
                             "speed=\"0\"/></Lightitems>";
    result = importProfile(db(), 1, profileFile(mode1), takingEveryBinding());
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_EQ(rowsOf(1).lights, before.lights);

    // With lighting, the mode becomes current and its row takes the item.
    ASSERT_EQ(importProfile(db(), 1, profileFile(mode1), lit()).status, ExchangeStatus::Done);
    EXPECT_EQ(db().getCurrentLightMode(1), 1);
    store::LightEffect light;
    ASSERT_TRUE(db().getLight(1, 1, light));
    EXPECT_EQ(light.brightness, 0);
    EXPECT_EQ(light.speed, 0);
}

TEST_F(ProfileImports, HugeTextsComeInWhole) {
    const QByteArray desc(4 * 1024 * 1024, 'd');
    const QString path = profileFile("<keyitems><item key_code=\"1\" macro_type=\"2\" "
                                     "macro_value=\"4\" macro_desc=\"" +
                                     desc + "\"/></keyitems>");
    ASSERT_EQ(importProfile(db(), 1, path, lit()).status, ExchangeStatus::Done);
    store::ButtonBinding binding;
    ASSERT_TRUE(db().getBinding(1, 1, binding));
    EXPECT_EQ(binding.macroDesc.size(), desc.size());
}

} // namespace
} // namespace corvane::exchange::test
