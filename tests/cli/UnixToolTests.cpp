// corvanectl as scripts and pipes meet it: an empty list without a mouse, failures to
// write its output, "-" for files, macros by id, names that cannot rewrite the terminal,
// and imports that refuse what the mouse cannot hold without touching the store.
#include "CliProcess.h"

#include "store/ProfileDatabase.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace corvane::cli::test {
namespace {

QByteArray macroFile(const QByteArray& name, int playTimes = 1) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro><macroinfo macro_name=\"" + name +
           "\" macro_type=\"0\" play_times=\"" + QByteArray::number(playTimes) +
           "\" delay_type=\"1\" delay_time=\"0\"/><macroitems><item desc=\"A down\" index=\"0\" "
           "type=\"2\" value=\"65\"/><item desc=\"A up\" index=\"1\" type=\"3\" value=\"65\"/>"
           "</macroitems></macro>";
}

class UnixTool : public CliProcess {
protected:
    bool writeFile(const char* name, const QByteArray& bytes) const {
        QFile file(folder(QLatin1String(name)));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    QString functionOf(const QJsonObject& shown, const char* key) const {
        for (const QJsonValue& value : shown[u"keys"].toArray()) {
            if (value.toObject()[u"key"].toString() == QLatin1String(key))
                return value.toObject()[u"function"].toString();
        }
        return {};
    }
};

TEST_F(UnixTool, ListWithoutAMouseIsAnEmptyList) {
    // Without --virtual-mouse the system's HID devices are scanned: none is a Corvane.
    const Outcome text = corvanectl({"list"}, false);
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.isEmpty());
    EXPECT_TRUE(text.err.isEmpty());
    const Outcome json = corvanectl({"list", "--json"}, false);
    EXPECT_EQ(json.exitCode, 0);
    const QJsonDocument document = QJsonDocument::fromJson(json.out.toUtf8());
    EXPECT_EQ(document.object(), (QJsonObject{{QStringLiteral("mice"), QJsonArray()}}));
    EXPECT_FALSE(QFile::exists(databasePath())) << "listing stores nothing";
    // Every other command still needs the mouse.
    EXPECT_EQ(corvanectl({"show"}, false).exitCode, 1);
}

TEST_F(UnixTool, AnOutputThatCannotBeWrittenFails) {
    for (const QStringList& command :
         {QStringList{"show", "--json"}, QStringList{"list"}, QStringList{"--help"}}) {
        const Outcome run = corvanectl(command, Streams{{}, QStringLiteral("/dev/full")});
        EXPECT_EQ(run.exitCode, 1) << command.join(u' ').toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("corvanectl: cannot write the output: ")))
            << run.err.toStdString();
    }
}

// Two macros may share a name: a shared name is refused with the ids to choose from, an
// id always finds its macro, and show names such a macro by its id so that its output
// can be fed back.
TEST_F(UnixTool, MacrosAreChosenByIdWhereTheirNamesRepeat) {
    ASSERT_TRUE(writeFile("twin.xml", macroFile("Twin")));
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(corvanectl({"macro", "import", "twin.xml"}).exitCode, 0);
    const Outcome ambiguous = corvanectl({"bind", "forward", "macro:Twin"});
    EXPECT_EQ(ambiguous.exitCode, 2);
    EXPECT_EQ(ambiguous.err, QStringLiteral("corvanectl: 2 macros are named \"Twin\"; choose one "
                                            "by its id: #1 or #2\n"));
    EXPECT_EQ(corvanectl({"macro", "export", "Twin", "out.xml"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(folder("out.xml")));

    const Outcome bound = corvanectl({"bind", "forward", "macro:#2"});
    ASSERT_EQ(bound.exitCode, 0) << bound.err.toStdString();
    EXPECT_EQ(rows("SELECT macro_type, macro_value FROM t_key_macro_data WHERE key_code = 4"),
              QStringList{"4|2"});
    EXPECT_EQ(functionOf(showJson(), "forward"), QStringLiteral("macro:#2"));
    EXPECT_EQ(corvanectl({"macro", "export", "#1", "out.xml"}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(folder("out.xml")));
    EXPECT_EQ(corvanectl({"bind", "back", "macro:#9"}).exitCode, 2);
}

TEST_F(UnixTool, AMacroImportThatTakesNothingFails) {
    ASSERT_EQ(corvanectl({"set", "rate", "500"}).exitCode, 0);
    ASSERT_TRUE(writeFile("many.xml", macroFile("Many", 999)));
    const QStringList before = dump();
    const Outcome run = corvanectl({"macro", "import", "many.xml"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("no macro imported"))) << run.err.toStdString();
    EXPECT_EQ(dump(), before);
}

// "-" is standard output for an export and standard input for an import: a profile goes
// through a pipe into another profile, which keeps its own name.
TEST_F(UnixTool, ADashIsAPipe) {
    ASSERT_EQ(corvanectl({"set", "dpi", "--stages", "700,1400,2800", "--active", "2"}).exitCode, 0);
    ASSERT_EQ(corvanectl({"set", "rate", "125"}).exitCode, 0);
    ASSERT_EQ(corvanectl({"bind", "back", "media:mute"}).exitCode, 0);
    const Outcome exported = corvanectl({"profile", "export", "1", "-"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.startsWith(QStringLiteral("<?xml"))) << exported.out.toStdString();
    EXPECT_FALSE(QFile::exists(folder("-")));
    QJsonObject first = showJson();

    ASSERT_EQ(corvanectl({"profile", "switch", "2"}).exitCode, 0);
    const Outcome imported =
        corvanectl({"profile", "import", "-"}, Streams{exported.out.toUtf8(), {}});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    QJsonObject second = showJson();
    EXPECT_EQ(second[u"profile"].toObject()[u"id"].toInt(), 2);
    EXPECT_EQ(second[u"profile"].toObject()[u"name"].toString(), QStringLiteral("Profile 2"));
    first.remove(u"profile");
    second.remove(u"profile");
    EXPECT_EQ(second, first);

    const QStringList before = dump();
    const Outcome garbage = corvanectl({"profile", "import", "-"}, Streams{"not a profile", {}});
    EXPECT_EQ(garbage.exitCode, 2);
    EXPECT_EQ(garbage.err, QStringLiteral("corvanectl: -: not a profile file\n"));
    EXPECT_EQ(dump(), before);

    ASSERT_EQ(corvanectl({"macro", "import", "-"}, Streams{macroFile("Piped"), {}}).exitCode, 0);
    const Outcome macro = corvanectl({"macro", "export", "Piped", "-"});
    ASSERT_EQ(macro.exitCode, 0);
    EXPECT_TRUE(macro.out.contains(QStringLiteral("macro_name=\"Piped\"")))
        << macro.out.toStdString();
}

// A name from a file may carry ESC and BEL through character references: text output
// shows them as '?', JSON escapes them.
TEST_F(UnixTool, NamesCannotRewriteTheTerminal) {
    ASSERT_TRUE(writeFile("evil.xml", macroFile("a&#27;]0;owned&#7;b&#155;c")));
    ASSERT_EQ(corvanectl({"macro", "import", "evil.xml"}).exitCode, 0);
    const Outcome listed = corvanectl({"macro", "list"});
    EXPECT_EQ(listed.out, QStringLiteral("1: a?]0;owned?b?c (2 steps)\n"));
    const Outcome shown = corvanectl({"show"});
    EXPECT_TRUE(shown.out.contains(QStringLiteral("a?]0;owned?b?c")));
    for (const Outcome& run : {listed, shown}) {
        for (const QChar c : run.out)
            EXPECT_TRUE(c == u'\n' || c.unicode() >= 0x20) << int(c.unicode());
    }
    const Outcome json = corvanectl({"macro", "list", "--json"});
    EXPECT_TRUE(json.out.contains(QStringLiteral("a\\u001b]0;owned\\u0007b")))
        << json.out.toStdString();
}

// Items for keys the mouse lacks (257 is key 1's slot on the wire, -1 none), for the
// primary key or of an unknown type are left out; the rest of the file comes in and the
// push sends no macro anywhere.
TEST_F(UnixTool, AProfileImportTakesOnlyBindingsTheMouseCanHold) {
    ASSERT_TRUE(writeFile("twin.xml", macroFile("Twin")));
    ASSERT_EQ(corvanectl({"macro", "import", "twin.xml"}).exitCode, 0);
    ASSERT_TRUE(writeFile(
        "keys.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile><profileinfo name=\"x\"><keyitems>"
        "<item key_code=\"257\" macro_type=\"4\" macro_value=\"1\" macro_desc=\"Twin\"/>"
        "<item key_code=\"-1\" macro_type=\"4\" macro_value=\"1\" macro_desc=\"Twin\"/>"
        "<item key_code=\"2\" macro_type=\"42\" macro_value=\"1\" macro_desc=\"odd\"/>"
        "<item key_code=\"0\" macro_type=\"1\" macro_value=\"3\" macro_desc=\"right\"/>"
        "<item key_code=\"3\" macro_type=\"3\" macro_value=\"8\" macro_desc=\"Mute\"/>"
        "</keyitems><Mouse><report_rate value=\"4\"/></Mouse></profileinfo></profile>"));
    const std::size_t mark = logLines(cliLog());
    forgetWhatTheMouseHolds();
    const Outcome run = corvanectl({"profile", "import", "keys.xml"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("4 values were left out")))
        << run.err.toStdString();
    EXPECT_EQ(rows("SELECT key_code, macro_type, macro_value FROM t_key_macro_data"),
              QStringList{"3|3|8"});
    EXPECT_EQ(setting(1, "report_rate"), QStringLiteral("4"));
    const std::vector<LoggedReport> writes = writesToMouse(cliLog(), mark);
    for (const LoggedReport& report : writes)
        EXPECT_NE(report.command(), 0x08) << "a macro went to the mouse";
    expectMouseHolds({{"button index 0", "mouse left"},
                      {"button index 1", "mouse right"},
                      {"button index 2", "mouse middle"},
                      {"button index 3", "media mute"},
                      {"rate", "250 Hz"}});
    for (const auto& [name, value] : mouseHolds())
        EXPECT_FALSE(name.startsWith(u"macro ")) << "the mouse plays " << value.toStdString();
}

// The profile's default light rows are written only with a request that succeeds: a
// refused import or export leaves the store as it was.
TEST_F(UnixTool, ARefusedImportOrExportLeavesTheStoreAlone) {
    ASSERT_EQ(corvanectl({"set", "rate", "500"}).exitCode, 0);
    // Profile 1 as the lighting page has never shown it: no light rows.
    withStore([](store::ProfileDatabase& db) { ASSERT_TRUE(db.deleteLights(1)); });
    ASSERT_EQ(rows("SELECT count(*) FROM t_light_data WHERE profile = 1"), QStringList{"0"});
    const QStringList before = dump();
    for (const QStringList& command :
         {QStringList{"profile", "import", "missing.xml"},
          QStringList{"profile", "export", "1", "no/such/folder/p.xml"}}) {
        const Outcome run = corvanectl(command);
        EXPECT_NE(run.exitCode, 0) << command.join(u' ').toStdString();
        EXPECT_EQ(dump(), before) << command.join(u' ').toStdString();
    }
    // A successful export keeps them: the file and the store agree.
    ASSERT_EQ(corvanectl({"profile", "export", "1", "p.xml"}).exitCode, 0);
    EXPECT_NE(rows("SELECT count(*) FROM t_light_data WHERE profile = 1"), QStringList{"0"});
}

} // namespace
} // namespace corvane::cli::test
