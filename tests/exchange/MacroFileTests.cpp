#include "ExchangeFixture.h"

#include <QFileInfo>

#include <sys/stat.h>

#include "exchange/MacroFile.h"

namespace corvane::exchange::test {
namespace {

using store::MacroDefinition;
using store::MacroEvent;

const QString kMacroColumns = QStringLiteral("name,play_type,play_times,delay_type,delay_time");
const QStringList kMacroRow = kMacroColumns.split(u',');
const QStringList kStepRow = {QStringLiteral("type"), QStringLiteral("record_index"),
                              QStringLiteral("desc"), QStringLiteral("value"),
                              QStringLiteral("delay_time")};

MacroEvent step(int type, int index, int value, const QString& desc, int timestamp = 100) {
    MacroEvent e;
    e.type = type;
    e.index = index;
    e.value = value;
    e.desc = desc;
    e.timestamp = timestamp;
    return e;
}

// A key press, a click and a delay: every step type.
std::vector<MacroEvent> everyStepType() {
    return {step(2, 0, 65, QStringLiteral("↓  A")), step(1, 1, 120, QStringLiteral("120 ms"), 101),
            step(3, 2, 65, QStringLiteral("↑  A")), step(4, 3, 1, QStringLiteral("↓  LB"), 102),
            step(5, 4, 1, QStringLiteral("↑  LB"), 102)};
}

class MacroFiles : public ExchangeTest {
protected:
    static int addMacro(const QString& name, const std::vector<MacroEvent>& steps, int playType = 0,
                        int playTimes = 1, int delayType = 1, int delayTime = 0) {
        MacroDefinition macro;
        macro.name = name;
        macro.playType = playType;
        macro.playTimes = playTimes;
        macro.delayType = delayType;
        macro.delayTime = delayTime;
        const int id = db().insertMacro(macro);
        for (MacroEvent e : steps) {
            e.macroId = id;
            db().insertMacroEvent(e);
        }
        return id;
    }
    QStringList macros(const QString& store = QStringLiteral("source")) const {
        return tableRows(dbPath(store), QStringLiteral("t_macro_data"), kMacroRow);
    }
    QStringList steps(int macroId, const QString& store = QStringLiteral("source")) const {
        return tableRows(dbPath(store), QStringLiteral("t_macrorecord"), kStepRow,
                         QStringLiteral("WHERE macro_id = %1 ORDER BY record_index").arg(macroId));
    }
};

// --- the written bytes ----------------------------------------------------------------------

TEST_F(MacroFiles, SingleMacroLayoutBytes) {
    const int id = addMacro(QStringLiteral("Boss & <Co> \"1\""), everyStepType(), 2, 1, 2, 15);
    ASSERT_EQ(exportMacro(db(), id, file(QStringLiteral("one.xml"))), ExchangeStatus::Done);
    EXPECT_EQ(fileBytes(file(QStringLiteral("one.xml"))),
              fileBytes(QStringLiteral(CORVANE_TEST_DATA_DIR "/macro_single.xml")));
}

TEST_F(MacroFiles, AllMacrosLayoutBytes) {
    addMacro(QStringLiteral("配置 'x'"), everyStepType());
    addMacro(QStringLiteral("empty"), {}, 1, 1, 0, 0);
    addMacro(QStringLiteral("last"), {step(1, 0, 10, QStringLiteral("10 ms"))});
    ASSERT_EQ(exportAllMacros(db(), file(QStringLiteral("all.xml"))), ExchangeStatus::Done);
    EXPECT_EQ(fileBytes(file(QStringLiteral("all.xml"))),
              fileBytes(QStringLiteral(CORVANE_TEST_DATA_DIR "/macro_all.xml")));
}

TEST_F(MacroFiles, EmptyLayoutsStillHaveTheirElements) {
    const int id = addMacro(QStringLiteral("none"), {});
    ASSERT_EQ(exportMacro(db(), id, file(QStringLiteral("one.xml"))), ExchangeStatus::Done);
    EXPECT_EQ(fileBytes(file(QStringLiteral("one.xml"))),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n<macroinfo "
              "macro_name=\"none\" macro_type=\"0\" play_times=\"1\" delay_type=\"1\" "
              "delay_time=\"0\"/>\r\n<macroitems/>\r\n</macro>\r\n");

    ASSERT_TRUE(use(QStringLiteral("target")));
    ASSERT_EQ(exportAllMacros(db(), file(QStringLiteral("all.xml"))), ExchangeStatus::Done);
    EXPECT_EQ(fileBytes(file(QStringLiteral("all.xml"))),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro/>\r\n");
    const MacroImportResult result = importAllMacrosFile(db(), file(QStringLiteral("all.xml")));
    EXPECT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_TRUE(result.macros.empty());
}

TEST_F(MacroFiles, ExportOfAMissingMacroWritesNothing) {
    EXPECT_EQ(exportMacro(db(), 42, file(QStringLiteral("x.xml"))), ExchangeStatus::NotFound);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("x.xml"))));
}

// --- round trips ------------------------------------------------------------------------------

struct NameCase {
    const char* label;
    QString text;
};
void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.label;
}

class MacroRoundTrip : public MacroFiles, public ::testing::WithParamInterface<NameCase> {};

TEST_P(MacroRoundTrip, BothLayoutsGiveBackTheSameRows) {
    const QString& text = GetParam().text;
    std::vector<MacroEvent> withText = everyStepType();
    withText[1].desc = text;
    const int id = addMacro(text, withText, 0, 7, 2, 33);
    addMacro(text + QStringLiteral(" 2"), {}, 1, 1, 0, 0);
    const QStringList sourceMacros = macros();
    const QStringList sourceSteps = steps(id);

    ASSERT_EQ(exportMacro(db(), id, file(QStringLiteral("one.xml"))), ExchangeStatus::Done);
    ASSERT_EQ(exportAllMacros(db(), file(QStringLiteral("all.xml"))), ExchangeStatus::Done);

    // Into the same store: a new macro with a new id, the same rows.
    const MacroImportResult again = importMacroFile(db(), file(QStringLiteral("one.xml")));
    ASSERT_EQ(again.status, ExchangeStatus::Done);
    ASSERT_EQ(again.macros.size(), 1u);
    EXPECT_EQ(again.macros[0].id, 3);
    EXPECT_EQ(again.macros[0].name, text);
    EXPECT_EQ(macros().last(), sourceMacros.first());
    EXPECT_EQ(steps(3), sourceSteps);

    // Into another store file: every macro, in order.
    ASSERT_TRUE(use(QStringLiteral("target")));
    const MacroImportResult all = importAllMacrosFile(db(), file(QStringLiteral("all.xml")));
    ASSERT_EQ(all.status, ExchangeStatus::Done);
    ASSERT_EQ(all.macros.size(), 2u);
    EXPECT_EQ(macros(QStringLiteral("target")), sourceMacros);
    EXPECT_EQ(steps(all.macros[0].id, QStringLiteral("target")), sourceSteps);
    EXPECT_TRUE(steps(all.macros[1].id, QStringLiteral("target")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Names, MacroRoundTrip,
                         ::testing::Values(NameCase{"Markup", QStringLiteral("a < b & c > d")},
                                           NameCase{"Quotes", QStringLiteral("it's \"quoted\"")},
                                           NameCase{"Entities", QStringLiteral("&amp; &#65; &lt;")},
                                           NameCase{"Chinese", QStringLiteral("自定义 宏")},
                                           NameCase{"Arabic", QStringLiteral("لتكوين ٣")},
                                           NameCase{"Emoji", QStringLiteral("🎮 play 𝄞")},
                                           NameCase{"Blanks", QStringLiteral("  two  blanks  ")},
                                           NameCase{"Empty", QString()}),
                         [](const auto& info) { return std::string(info.param.label); });

// --- importing ---------------------------------------------------------------------------------

TEST_F(MacroFiles, ImportingTwiceGivesTwoMacrosAndIdsNeverComeFromTheFile) {
    ASSERT_TRUE(writeFile(file(QStringLiteral("all.xml")),
                          "<macro><macro_item macro_id=\"77\" macro_name=\"x\" macro_type=\"0\" "
                          "play_times=\"1\" delay_type=\"1\" delay_time=\"0\"/></macro>"));
    addMacro(QStringLiteral("existing"), {});
    for (int round = 0; round < 2; ++round) {
        const MacroImportResult result = importAllMacrosFile(db(), file(QStringLiteral("all.xml")));
        ASSERT_EQ(result.macros.size(), 1u);
        EXPECT_EQ(result.macros[0].id, 2 + round);
    }
    EXPECT_EQ(macros(), (QStringList{"'existing'|0|1|1|0", "'x'|0|1|1|0", "'x'|0|1|1|0"}));
}

TEST_F(MacroFiles, StepsKeepTheirIndexAndReadBackInItsOrder) {
    ASSERT_TRUE(
        writeFile(file(QStringLiteral("one.xml")),
                  "<macro><macroinfo macro_name=\"m\" macro_type=\"0\" play_times=\"1\" "
                  "delay_type=\"1\" delay_time=\"0\"/><macroitems>"
                  "<item desc=\"up\" index=\"5\" type=\"3\" value=\"66\" timestamp=\"9\"/>"
                  "<item desc=\"down\" index=\"2\" type=\"2\" value=\"66\" timestamp=\"9\"/>"
                  "</macroitems></macro>"));
    const MacroImportResult result = importMacroFile(db(), file(QStringLiteral("one.xml")));
    ASSERT_EQ(result.macros.size(), 1u);
    EXPECT_EQ(steps(result.macros[0].id), (QStringList{"2|2|'down'|66|9", "3|5|'up'|66|9"}));
}

TEST_F(MacroFiles, EachImporterFindsNothingInTheOtherLayout) {
    const int id = addMacro(QStringLiteral("m"), everyStepType());
    ASSERT_EQ(exportMacro(db(), id, file(QStringLiteral("one.xml"))), ExchangeStatus::Done);
    ASSERT_EQ(exportAllMacros(db(), file(QStringLiteral("all.xml"))), ExchangeStatus::Done);
    const QByteArray before = fileBytes(dbPath());

    const MacroImportResult single = importMacroFile(db(), file(QStringLiteral("all.xml")));
    EXPECT_EQ(single.status, ExchangeStatus::WrongLayout);
    const MacroImportResult all = importAllMacrosFile(db(), file(QStringLiteral("one.xml")));
    EXPECT_EQ(all.status, ExchangeStatus::Done);
    EXPECT_TRUE(single.macros.empty() && all.macros.empty());
    EXPECT_EQ(fileBytes(dbPath()), before);
}

// A macro the macro page could not have made is left out whole (a key pressed and never
// released would be worse than no macro); the file's other macros still come in.
TEST_F(MacroFiles, MacrosBreakingTheRulesAreLeftOutWhole) {
    const char* items[] = {
        "<macro_item macro_name=\"ok\" macro_type=\"0\" play_times=\"3\" delay_type=\"2\" "
        "delay_time=\"50\"/>",
        "<macro_item macro_name=\"play type\" macro_type=\"7\" play_times=\"1\" delay_type=\"1\" "
        "delay_time=\"0\"/>",
        "<macro_item macro_name=\"no plays\" macro_type=\"0\" play_times=\"0\" delay_type=\"1\" "
        "delay_time=\"0\"/>",
        "<macro_item macro_name=\"bad step\" macro_type=\"0\" play_times=\"1\" delay_type=\"1\" "
        "delay_time=\"0\"><record_item><item desc=\"a\" index=\"0\" type=\"2\" value=\"65\" "
        "timestamp=\"1\"/><item desc=\"b\" index=\"1\" type=\"9\" value=\"65\" timestamp=\"1\"/>"
        "</record_item></macro_item>",
        "<macro_item macro_name=\"ok too\" macro_type=\"1\" play_times=\"1\" delay_type=\"0\" "
        "delay_time=\"0\"><record_item><item desc=\"a\" index=\"0\" type=\"4\" value=\"16\" "
        "timestamp=\"1\"/></record_item></macro_item>",
    };
    QByteArray text = "<macro>";
    for (const char* item : items) {
        text += item;
    }
    ASSERT_TRUE(writeFile(file(QStringLiteral("all.xml")), text + "</macro>"));
    const MacroImportResult result = importAllMacrosFile(db(), file(QStringLiteral("all.xml")));
    EXPECT_EQ(result.status, ExchangeStatus::Done);
    EXPECT_EQ(result.refused, 3);
    EXPECT_EQ(macros(), (QStringList{"'ok'|0|3|2|50", "'ok too'|1|1|0|0"}));
    EXPECT_EQ(tableRows(dbPath(), QStringLiteral("t_macrorecord"), {QStringLiteral("desc")}),
              QStringList{"'a'"});

    // The play count fits one byte whatever the device type: 256 is refused, 255 taken.
    for (const int type : {1, 200, 201}) {
        ASSERT_TRUE(writeFile(file(QStringLiteral("one.xml")),
                              "<macro><macroinfo macro_name=\"many\" macro_type=\"0\" "
                              "play_times=\"256\" delay_type=\"1\" delay_time=\"0\"/></macro>"));
        EXPECT_EQ(importMacroFile(db(), file(QStringLiteral("one.xml")), {type}).refused, 1);
        ASSERT_TRUE(writeFile(file(QStringLiteral("one.xml")),
                              "<macro><macroinfo macro_name=\"many\" macro_type=\"0\" "
                              "play_times=\"255\" delay_type=\"1\" delay_time=\"0\"/></macro>"));
        EXPECT_EQ(importMacroFile(db(), file(QStringLiteral("one.xml")), {type}).macros.size(), 1u);
    }
}

TEST_F(MacroFiles, BrokenFilesImportNothing) {
    const QByteArray single = "<macro><macroinfo macro_name=\"m\" macro_type=\"0\" "
                              "play_times=\"1\" delay_type=\"1\" delay_time=\"0\"/>"
                              "<macroitems/></macro>";
    const std::pair<QByteArray, ExchangeStatus> cases[] = {
        {single.left(single.size() - 10), ExchangeStatus::NotWellFormed},
        {"<profile><macroinfo macro_name=\"m\"/></profile>", ExchangeStatus::WrongLayout},
        {"\xff\xfe<\x00m\x00", ExchangeStatus::NotWellFormed},
        {single + QByteArray(16 * 1024 * 1024, '\n'), ExchangeStatus::FileTooLarge},
    };
    const QByteArray before = fileBytes(dbPath());
    for (const auto& [bytes, status] : cases) {
        ASSERT_TRUE(writeFile(file(QStringLiteral("bad.xml")), bytes));
        EXPECT_EQ(importMacroFile(db(), file(QStringLiteral("bad.xml"))).status, status);
        const MacroImportResult all = importAllMacrosFile(db(), file(QStringLiteral("bad.xml")));
        EXPECT_EQ(all.status, status);
        EXPECT_TRUE(all.macros.empty());
    }
    EXPECT_EQ(importMacroFile(db(), file(QStringLiteral("none.xml"))).status,
              ExchangeStatus::FileMissing);

    // Not a plain file: refused at once, never read (a FIFO would wait for a writer).
    const QString fifo = file(QStringLiteral("fifo.xml"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(importMacroFile(db(), fifo).status, ExchangeStatus::FileMissing);
    EXPECT_EQ(importMacroFile(db(), QFileInfo(fifo).absolutePath()).status,
              ExchangeStatus::FileMissing);
    EXPECT_EQ(fileBytes(dbPath()), before);
}

// A write failing half-way (disk full, a locked file) leaves the macro list as it was:
// no macro of the file, and no macro half-filled.
TEST_F(MacroFiles, AFailedWriteLeavesTheStoreAsItWas) {
    addMacro(QStringLiteral("kept"), everyStepType());
    ASSERT_EQ(db().connection().exec("CREATE TRIGGER refuse BEFORE INSERT ON t_macrorecord "
                                     "WHEN NEW.desc = 'boom' BEGIN SELECT RAISE(ABORT, 'full'); "
                                     "END"),
              store::kSqliteOk);
    ASSERT_TRUE(writeFile(
        file(QStringLiteral("all.xml")),
        "<macro><macro_item macro_name=\"first\" macro_type=\"0\" play_times=\"1\" "
        "delay_type=\"1\" delay_time=\"0\"><record_item><item desc=\"fine\" index=\"0\" "
        "type=\"1\" value=\"5\" timestamp=\"1\"/></record_item></macro_item>"
        "<macro_item macro_name=\"second\" macro_type=\"0\" play_times=\"1\" delay_type=\"1\" "
        "delay_time=\"0\"><record_item><item desc=\"fine\" index=\"0\" type=\"1\" value=\"5\" "
        "timestamp=\"1\"/><item desc=\"boom\" index=\"1\" type=\"1\" value=\"5\" "
        "timestamp=\"1\"/></record_item></macro_item></macro>"));
    const QByteArray before = fileBytes(dbPath());
    const MacroImportResult result = importAllMacrosFile(db(), file(QStringLiteral("all.xml")));
    EXPECT_EQ(result.status, ExchangeStatus::StoreFailed);
    EXPECT_TRUE(result.macros.empty());
    EXPECT_EQ(fileBytes(dbPath()), before);
}

} // namespace
} // namespace corvane::exchange::test
