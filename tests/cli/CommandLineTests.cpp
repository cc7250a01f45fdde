// Parsing corvanectl's command line, and the help, manual page and completion made from
// the same option table.
#include "cli/ArgumentParser.h"
#include "cli/CommandTable.h"
#include "cli/HelpText.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace corvane::cli {
namespace {

using Kind = ParsedCommandLine::Kind;

ParsedCommandLine parse(const QStringList& words) {
    return parseCommandLine(QStringList{QStringLiteral("corvanectl")} + words,
                            QStringLiteral("/home/user/work"));
}

TEST(CommandLine, RequestsCarryTheCommandItsOperandsAndOptions) {
    ParsedCommandLine parsed =
        parse({"--virtual-mouse", "set", "dpi", "--stage", "2", "1600", "--verbose"});
    ASSERT_EQ(parsed.kind, Kind::Run) << parsed.text.toStdString();
    EXPECT_TRUE(parsed.virtualMouse);
    EXPECT_EQ(parsed.request.command, QStringLiteral("set"));
    EXPECT_EQ(parsed.request.action, QStringLiteral("dpi"));
    EXPECT_EQ(parsed.request.arguments, QStringList{"1600"});
    EXPECT_EQ(parsed.request.option("stage"), QStringLiteral("2"));
    EXPECT_TRUE(parsed.request.has("verbose"));

    parsed = parse({"profile", "export", "1", "../backup/p1.xml"});
    ASSERT_EQ(parsed.kind, Kind::Run);
    EXPECT_EQ(parsed.request.arguments, (QStringList{"1", "/home/user/backup/p1.xml"}))
        << "the window runs elsewhere: files are absolute";
    parsed = parse({"macro", "export", "--all", "all.xml"});
    EXPECT_EQ(parsed.request.arguments, QStringList{"/home/user/work/all.xml"});
    // "-" is standard input or output, never a file named "-".
    parsed = parse({"profile", "export", "1", "-"});
    EXPECT_EQ(parsed.request.arguments, (QStringList{"1", "-"}));
    parsed = parse({"profile", "import", "-"});
    EXPECT_EQ(parsed.request.arguments, QStringList{"-"});
    // After "--" every word is an operand, "-h" too.
    parsed = parse({"profile", "rename", "1", "--", "-h"});
    ASSERT_EQ(parsed.kind, Kind::Run) << parsed.text.toStdString();
    EXPECT_EQ(parsed.request.arguments, (QStringList{"1", "-h"}));

    parsed = parse({"show", "--json", "--profile", "3"});
    EXPECT_TRUE(parsed.request.has("json"));
    EXPECT_EQ(parsed.request.option("profile"), QStringLiteral("3"));
}

TEST(CommandLine, UsageErrorsHelpAndVersion) {
    struct Case {
        QStringList words;
        Kind kind;
        const char* text; // part of the text
    };
    const Case cases[] = {
        {{}, Kind::Usage, "no command given"},
        {{"frobnicate"}, Kind::Usage, "unknown command 'frobnicate'"},
        {{"set"},
         Kind::Usage,
         "set needs one of: dpi, rate, lod, sensor, sleep, respond, lighting"},
        {{"set", "volume"}, Kind::Usage, "unknown command 'set volume'"},
        {{"set", "rate"}, Kind::Usage, "missing operand (HZ)"},
        {{"bind", "back"}, Kind::Usage, "missing operand (KEY FUNCTION)"},
        {{"list", "now"}, Kind::Usage, "unexpected operand 'now'"},
        {{"list", "--profile", "2"}, Kind::Usage, "Unknown option 'profile'"},
        {{"--frob", "list"}, Kind::Usage, "unknown option '--frob'"},
        {{"--help"}, Kind::Help, "Commands:"},
        {{"set", "--help"}, Kind::Help, "Actions:"},
        {{"bind", "--help"}, Kind::Help, "repeat:COUNT,INTERVAL"},
        {{"--help", "show"}, Kind::Help, "Usage: corvanectl show [options]"},
        {{"show", "-h"}, Kind::Help, "Usage: corvanectl show [options]"},
        {{"show", "--json", "-h"}, Kind::Help, "Usage: corvanectl show [options]"},
        {{"bind", "back", "-h"}, Kind::Help, "Usage: corvanectl bind"},
        {{"profile", "-h"}, Kind::Help, "Actions:"},
        {{"--version"}, Kind::Version, ""},
        {{"show", "--version"}, Kind::Version, ""},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = parse(c.words);
        EXPECT_EQ(parsed.kind, c.kind) << c.words.join(u' ').toStdString();
        EXPECT_TRUE(parsed.text.contains(QLatin1String(c.text)))
            << c.words.join(u' ').toStdString() << ": " << parsed.text.toStdString();
    }
}

TEST(CommandLine, EveryCommandHasItsHelp) {
    for (const CommandEntry& entry : commandEntries()) {
        QStringList words{QLatin1String(entry.command)};
        if (entry.action[0])
            words << QLatin1String(entry.action);
        words << QStringLiteral("--help");
        const ParsedCommandLine parsed = parse(words);
        EXPECT_EQ(parsed.kind, Kind::Help) << words.join(u' ').toStdString();
        EXPECT_TRUE(parsed.text.startsWith(QStringLiteral("Usage: ") + synopsisOf(entry)))
            << parsed.text.toStdString();
        words.last() = QStringLiteral("-h");
        EXPECT_EQ(parse(words).text, parsed.text) << words.join(u' ').toStdString();
        EXPECT_TRUE(parsed.text.contains(QLatin1String(entry.summary))) << entry.summary;
        for (const OptionEntry& option : entry.options)
            EXPECT_TRUE(parsed.text.contains(QStringLiteral("--") + QLatin1String(option.name)))
                << words.join(u' ').toStdString() << ": --" << option.name;
    }
}

TEST(CommandLine, TheManualPageAndCompletionCoverEveryCommandAndOption) {
    const QString manual = manualPage(QStringLiteral("1.2.3"), QStringLiteral("2026-01-02"));
    const QString completion = bashCompletion();
    EXPECT_TRUE(
        manual.contains(QStringLiteral(".TH CORVANECTL 1 \"2026-01-02\" \"Corvane 1.2.3\"")));
    for (const CommandEntry& entry : commandEntries()) {
        EXPECT_TRUE(manual.contains(synopsisOf(entry).replace(u'-', QStringLiteral("\\-"))))
            << entry.command << " " << entry.action;
        for (const OptionEntry& option : entry.options) {
            const QString name = QLatin1String(option.name);
            EXPECT_TRUE(manual.contains(QStringLiteral("\\fB\\-\\-") +
                                        QString(name).replace(u'-', QStringLiteral("\\-"))))
                << option.name;
            EXPECT_TRUE(completion.contains(QStringLiteral("--") + name)) << option.name;
        }
    }

    // The script is valid bash and completes what the table offers.
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("corvanectl.bash"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(completion.toUtf8());
    file.close();
    const auto complete = [&](const QString& line) {
        QProcess bash;
        bash.start(
            QStringLiteral("bash"),
            {QStringLiteral("-c"),
             QStringLiteral("source '%1'; COMP_WORDS=(%2); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); "
                            "_corvanectl; echo \"${COMPREPLY[*]}\"")
                 .arg(script, line)});
        bash.waitForFinished();
        return QString::fromUtf8(bash.readAllStandardOutput()).trimmed();
    };
    EXPECT_EQ(complete(QStringLiteral("corvanectl se")), QStringLiteral("set"));
    EXPECT_EQ(complete(QStringLiteral("corvanectl set r")), QStringLiteral("rate respond"));
    EXPECT_EQ(complete(QStringLiteral("corvanectl bind back media:v")),
              QStringLiteral("media:volume-up media:volume-down"));
    EXPECT_EQ(complete(QStringLiteral("corvanectl set dpi --stage 2 --col")),
              QStringLiteral("--colours --colour"));
    EXPECT_EQ(complete(QStringLiteral("corvanectl set lighting b")), QStringLiteral("breathing"));
}

} // namespace
} // namespace corvane::cli
