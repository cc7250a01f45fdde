// Requests corvanectl refuses: the exit code, the message naming what is allowed, and a
// store and mouse left as they were.
#include "CliProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QLockFile>

namespace corvane::cli::test {
namespace {

struct Refusal {
    QStringList command;
    int exitCode;
    const char* message; // a part of what stderr says
};

class Refusals : public CliProcess {};

TEST_F(Refusals, BadValuesUnknownKeysAndMissingFilesChangeNothing) {
    // A store to compare with, with a macro and light rows in it.
    ASSERT_EQ(corvanectl({"set", "lighting", "breathing"}).exitCode, 0);
    QFile::copy(QStringLiteral(CORVANE_SOURCE_DIR "/data/config.xml"), folder("config.xml"));

    const Refusal refusals[] = {
        {{"set", "dpi", "1234"}, 2, "the nearest are 1200 and 1250"},
        {{"set", "dpi", "30000"}, 2, "takes 50 to 24000"},
        {{"set", "dpi", "--stages", "400,800,99999"}, 2, "out of range"},
        {{"set", "dpi", "--count", "2", "--active", "3"}, 2, "the active stage must be 1 to 2"},
        {{"set", "dpi", "--stage", "7", "800"}, 2, "stages are 1 to 6"},
        {{"set", "dpi", "--colour", "red"}, 2, "#RRGGBB"},
        {{"set", "dpi"}, 2, "nothing to set"},
        {{"set", "rate", "2000"}, 2, "it offers 125, 250, 500 or 1000 Hz"},
        {{"set", "lod", "3"}, 2, "1 or 2"},
        {{"set", "sensor", "turbo=on"}, 2, "ripple-control, angle-snapping or motion-sync"},
        {{"set", "sensor", "motion-sync=maybe"}, 2, "on or off"},
        {{"set", "sleep", "7"}, 2, "1, 2, 5, 6, 10, 15, 20 or 30 minutes"},
        {{"set", "respond", "3"}, 2, "4 to 20 ms"},
        {{"set", "lighting", "disco"}, 2, "this mouse offers flowing, breathing"},
        {{"set", "lighting", "off", "--brightness", "2"}, 2, "the off lighting has no brightness"},
        {{"set", "lighting", "breathing", "--speed", "5"}, 2, "--speed must be 0 to 4"},
        {{"set", "lighting", "steady", "--colours", "#FF0000,#00FF00"}, 2, "takes 1 colour"},
        {{"bind", "wheel", "mouse:left"},
         2,
         "its keys are left, right, middle, back, forward or dpi"},
        {{"bind", "left", "mouse:right"}, 2, "keeps its function"},
        {{"bind", "back", "macro:Nope"}, 2, "no macro named \"Nope\""},
        {{"bind", "back", "key:ctrl+q+w"}, 2, "one key"},
        {{"unbind", "wheel"}, 2, "has no key"},
        {{"profile", "switch", "9"}, 2, "the profiles are 1, 2, 3 or 4"},
        {{"profile", "rename", "1", " "}, 2, "cannot be empty"},
        {{"profile", "import", "missing.xml"}, 2, "missing.xml: no such file"},
        {{"profile", "import", "config.xml"}, 2, "config.xml: not a profile file"},
        {{"macro", "import", "missing.xml"}, 2, "no such file"},
        {{"macro", "export", "Nope", "out.xml"}, 2, "no macro named"},
        {{"reset"}, 2, "add --yes"},
        {{"set", "dpi", "--bogus", "1"}, 2, "Unknown option"},
        {{"set", "volume", "3"}, 2, "unknown command 'set volume'"},
        {{"show", "extra"}, 2, "unexpected operand"},
    };
    const QStringList before = dump();
    ASSERT_FALSE(before.isEmpty());
    for (const Refusal& refusal : refusals) {
        const std::size_t mark = logLines(cliLog());
        const Outcome run = corvanectl(refusal.command);
        const std::string command = refusal.command.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, refusal.exitCode) << command;
        EXPECT_TRUE(run.err.contains(QLatin1String(refusal.message)))
            << command << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << command;
        EXPECT_TRUE(writesToMouse(cliLog(), mark).empty()) << command << " reached the mouse";
    }
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(QFile::exists(folder("out.xml")));
}

// The second model's device file asks for no sensor options and it has no lighting: the
// pages hide those groups, show has null for them and set refuses them.
TEST_F(Refusals, SettingsTheMouseDoesNotHaveAreRefused) {
    ASSERT_TRUE(QDir().mkpath(folder("config/Corvane")));
    QFile key(folder("config/Corvane/user.ini"));
    ASSERT_TRUE(key.open(QIODevice::WriteOnly));
    key.write("DeviceType=201\n");
    key.close();

    const QJsonObject shown = showJson();
    EXPECT_TRUE(shown[u"sensor"].isNull());
    EXPECT_TRUE(shown[u"lighting"].isNull());
    EXPECT_FALSE(shown[u"lod"].isNull());
    EXPECT_FALSE(shown[u"respond"].isNull());
    const std::size_t mark = logLines(cliLog());
    const Refusal refusals[] = {
        {{"set", "sensor", "motion-sync=on"}, 2, "corvanectl: this mouse has no sensor options\n"},
        {{"set", "lighting", "steady"}, 2, "corvanectl: this mouse has no lighting\n"},
    };
    for (const Refusal& refusal : refusals) {
        const Outcome run = corvanectl(refusal.command);
        EXPECT_EQ(run.exitCode, refusal.exitCode);
        EXPECT_EQ(run.err, QLatin1String(refusal.message));
    }
    const std::vector<LoggedReport> after = reports(cliLog());
    for (std::size_t i = mark; i < after.size(); ++i)
        EXPECT_TRUE(after[i].command() == 0x10 || after[i].command() == 0x13)
            << "only GetInfo and the read of the active stage (GetDpi) reached a mouse";
    EXPECT_EQ(corvanectl({"set", "lod", "2"}).exitCode, 0) << "it has a lift-off distance";
}

// While another program holds the mouse (the lock a window that does not answer or
// another corvanectl holds), corvanectl waits its while, then says so, sending and
// storing nothing; once the lock is free the same command runs.
TEST_F(Refusals, AnotherProgramHoldingTheMouseIsNamedAndNothingIsSent) {
    ASSERT_EQ(corvanectl({"show"}).exitCode, 0) << "the store exists";
    QLockFile held(folder(QStringLiteral("run/Corvane.lock")));
    ASSERT_TRUE(held.tryLock(0));
    const QStringList before = dump();
    const std::size_t mark = logLines(cliLog());

    const Outcome busy = corvanectl({"set", "dpi", "1600"});
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_EQ(busy.err, QStringLiteral("corvanectl: another program is using the mouse (a corvane "
                                       "window that does not answer, or another corvanectl)\n"));
    EXPECT_EQ(logLines(cliLog()), mark) << "nothing reached a mouse";
    EXPECT_EQ(dump(), before) << "nothing was stored";

    held.unlock();
    const Outcome free = corvanectl({"set", "dpi", "1600"});
    EXPECT_EQ(free.exitCode, 0) << free.err.toStdString();
    EXPECT_GT(logLines(cliLog()), mark);
}

// A store SQLite cannot read is a failure of the store (1), and it stays as it was.
TEST_F(Refusals, AnUnreadableStoreFailsAndIsLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(databasePath()).absolutePath()));
    QFile store(databasePath());
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    const QByteArray garbage = QByteArray("not a database ").repeated(300);
    store.write(garbage);
    store.close();
    for (const QStringList& command : {QStringList{"set", "rate", "500"}, QStringList{"show"}}) {
        const Outcome run = corvanectl(command);
        EXPECT_EQ(run.exitCode, 1) << command.join(u' ').toStdString();
        EXPECT_EQ(run.err,
                  QStringLiteral("corvanectl: the mouse's profile store cannot be opened\n"));
        EXPECT_TRUE(run.out.isEmpty());
    }
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    EXPECT_EQ(store.readAll(), garbage);
    EXPECT_TRUE(writesToMouse(cliLog()).empty());
}

TEST_F(Refusals, NoMouseIsAClearFailureNotAHang) {
    // Without --virtual-mouse the system's HID devices are scanned: none is a Corvane.
    const Outcome run = corvanectl({"set", "rate", "500"}, false);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("corvanectl: no mouse attached\n"));
    EXPECT_FALSE(QFile::exists(databasePath())) << "nothing was stored";
}

TEST_F(Refusals, HelpAndVersionNeedNoMouse) {
    const Outcome help = corvanectl({"set", "dpi", "--help"}, false);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: corvanectl set dpi [options] [DPI]")));
    const Outcome version = corvanectl({"--version"}, false);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("corvanectl ")));
    EXPECT_EQ(corvanectl({}, false).exitCode, 2);
}

} // namespace
} // namespace corvane::cli::test
