// A user's own mouse: probe finds it, a device file in the user's folder makes it
// usable, check-device and the program agree on what is wrong with a file, and the
// udev rule covers every model.
#include "CliProcess.h"

#include "packaging/UdevRules.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>

namespace corvane::cli::test {
namespace {

// The virtual third model: no installed file describes it.
const QString kThirdMouse = QStringLiteral("1209:C0C1/");

class UserDeviceFiles : public CliProcess {
protected:
    QString devices() const { return folder(QStringLiteral("data/corvane/devices")); }

    void writeDeviceFile(const QString& name, const QByteArray& text) const {
        ASSERT_TRUE(QDir().mkpath(devices()));
        QFile file(devices() + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    // The third mouse's node as probe lists it.
    QString thirdMouseNode() {
        const Outcome probe = corvanectl({"probe"});
        for (const QString& line : probe.out.split(u'\n')) {
            if (line.contains(QStringLiteral("1209:c0c1")))
                return line.section(u' ', 0, 0);
        }
        ADD_FAILURE() << "probe does not list the third mouse:\n" << probe.out.toStdString();
        return {};
    }

    // What `probe --ask --template` makes for the third mouse.
    QByteArray templateFile() {
        const Outcome made = corvanectl({"probe", "--ask", thirdMouseNode(), "--template"});
        EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
        return made.out.toUtf8();
    }

    void chooseDeviceType(int type) const {
        ASSERT_TRUE(QDir().mkpath(folder(QStringLiteral("config/Corvane"))));
        QFile key(folder(QStringLiteral("config/Corvane/user.ini")));
        ASSERT_TRUE(key.open(QIODevice::WriteOnly | QIODevice::Truncate));
        key.write("DeviceType=" + QByteArray::number(type) + "\n");
    }
};

TEST_F(UserDeviceFiles, ProbeListsOnlyUnclaimedCommandInterfacesAndSendsNothing) {
    const Outcome probe = corvanectl({"probe"});
    ASSERT_EQ(probe.exitCode, 0) << probe.err.toStdString();
    // The third mouse's command interface, with its lengths; not the installed models,
    // and not the third mouse's own mouse and keyboard interfaces.
    const QStringList lines = probe.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << probe.out.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("1209:c0c1  interface 2  output 64 bytes, "
                                                 "input 64 bytes")))
        << lines[0].toStdString();
    EXPECT_FALSE(QFile::exists(cliLog())) << "probe wrote to a device";

    // Once a user file describes it, nothing is left to find.
    writeDeviceFile(QStringLiteral("corvane_m3.xml"), templateFile());
    const Outcome after = corvanectl({"probe"});
    EXPECT_EQ(after.exitCode, 0);
    EXPECT_TRUE(after.out.isEmpty()) << after.out.toStdString();
    EXPECT_TRUE(after.err.contains(QStringLiteral("no HID interface"))) << after.err.toStdString();
}

TEST_F(UserDeviceFiles, AskSendsExactlyOneIdentificationRequest) {
    const QString node = thirdMouseNode();
    const Outcome asked = corvanectl({"probe", "--ask", node});
    ASSERT_EQ(asked.exitCode, 0) << asked.err.toStdString();
    EXPECT_TRUE(asked.err.startsWith(
        QStringLiteral("corvanectl: sending one identification request (GetInfo, read only) to ")))
        << asked.err.toStdString();
    EXPECT_EQ(asked.out.toStdString(), "identifier    CVM3\n"
                                       "sensor        0x11\n"
                                       "report rates  class 0x20: 125, 250, 500, 1000 Hz\n"
                                       "firmware      1.20\n");
    const std::vector<LoggedReport> sent = reports(cliLog());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].path.startsWith(kThirdMouse)) << sent[0].path.toStdString();
    EXPECT_EQ(sent[0].command(), 0x10);

    // A node without the command collection is refused before anything is sent.
    const Outcome refused = corvanectl({"probe", "--ask", "/dev/null"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(reports(cliLog()).size(), 1u);
}

TEST_F(UserDeviceFiles, TemplateFileMakesTheThirdMouseUsableEndToEnd) {
    const QByteArray made = templateFile();
    writeDeviceFile(QStringLiteral("corvane_m3.xml"), made);
    const Outcome checked =
        corvanectl({"check-device", devices() + QStringLiteral("/corvane_m3.xml")}, false);
    EXPECT_EQ(checked.exitCode, 0) << checked.out.toStdString();
    EXPECT_TRUE(checked.out.endsWith(QStringLiteral("usable\n"))) << checked.out.toStdString();

    const Outcome listed = corvanectl({"list"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.err.isEmpty()) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains(
        QRegularExpression(QStringLiteral("300 +Mouse 1209:c0c1 +cable +firmware 1.20"))))
        << listed.out.toStdString();

    chooseDeviceType(300);
    const QJsonObject shown = showJson();
    const QJsonArray stages = shown[u"dpi"].toObject()[u"stages"].toArray();
    ASSERT_EQ(stages.size(), 6);
    EXPECT_EQ(stages[1].toObject()[u"dpi"].toInt(), 800); // the template's factory stage 2

    const std::size_t before = logLines(cliLog());
    forgetWhatTheMouseHolds("1209-C0C1");
    const Outcome set = corvanectl({"set", "dpi", "--stage", "2", "3200"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    std::vector<LoggedReport> sent = reports(cliLog());
    sent.erase(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(before));
    const LoggedReport* dpi = nullptr;
    // The scan identifies every mouse (GetInfo); settings go to the third one only.
    for (const LoggedReport& report : sent) {
        if (report.command() != 0x10) {
            EXPECT_TRUE(report.path.startsWith(kThirdMouse)) << report.path.toStdString();
        }
        if (report.command() == 0x03)
            dpi = &report;
    }
    ASSERT_NE(dpi, nullptr) << "no DPI command reached the third mouse";
    expectMouseHolds({{"stage 2 dpi", "3200"}}, "1209-C0C1");
}

// A model whose file offers neither a lift-off distance nor a button response time:
// both are refused by name, nothing reaches the mouse and nothing is stored.
TEST_F(UserDeviceFiles, LiftOffAndResponseTimeAreRefusedForAMouseWithoutThem) {
    QByteArray made = templateFile();
    ASSERT_TRUE(made.contains("show_lod=\"1\"") && made.contains("show_respondtime=\"1\""));
    made.replace("show_lod=\"1\"", "show_lod=\"0\"");
    made.replace("show_respondtime=\"1\"", "show_respondtime=\"0\"");
    writeDeviceFile(QStringLiteral("corvane_m3.xml"), made);
    chooseDeviceType(300);
    ASSERT_EQ(corvanectl({"show"}).exitCode, 0) << "the store of the third mouse exists";

    // The stores of every model, byte for byte: an unchanged folder means nothing stored.
    const auto stores = [this] {
        QStringList files;
        QDir db(folder(QStringLiteral("data/Corvane Files/db")));
        for (const QString& name : db.entryList(QDir::Files, QDir::Name)) {
            QFile file(db.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            files << name + u' ' + QString::fromLatin1(file.readAll().toHex());
        }
        return files;
    };
    const QStringList before = stores();
    ASSERT_FALSE(before.isEmpty());
    const std::size_t mark = logLines(cliLog());
    const struct {
        QStringList command;
        const char* message;
    } refusals[] = {
        {{"set", "lod", "2"}, "corvanectl: this mouse has no lift-off distance setting\n"},
        {{"set", "respond", "12"}, "corvanectl: this mouse has no button response time setting\n"},
    };
    for (const auto& refusal : refusals) {
        const Outcome run = corvanectl(refusal.command);
        EXPECT_EQ(run.exitCode, 2) << refusal.command.join(u' ').toStdString();
        EXPECT_EQ(run.err, QLatin1String(refusal.message));
    }
    const std::vector<LoggedReport> after = reports(cliLog());
    // corvanectl reads the mouse's active stage (GetDpi) before any request; nothing is
    // written.
    for (std::size_t i = mark; i < after.size(); ++i)
        EXPECT_TRUE(after[i].command() == 0x10 || after[i].command() == 0x13)
            << "only GetInfo and the read of the active stage reached a mouse";
    EXPECT_EQ(stores(), before) << "nothing was stored";
}

TEST_F(UserDeviceFiles, ClashingAndMalformedFilesAreReportedAndSkipped) {
    const QByteArray made = templateFile();
    writeDeviceFile(QStringLiteral("corvane_m3.xml"), made);
    // Claims the installed M1 (its ids and identifier) under a new type.
    writeDeviceFile(QStringLiteral("fake_m1.xml"),
                    QByteArray(made)
                        .replace("pid=\"0xC0C1\" dev_id=\"CVM3\"", "pid=\"0xC0A1\" dev_id=\"CVM1\"")
                        .replace("device_type=\"300\"", "device_type=\"301\""));
    writeDeviceFile(QStringLiteral("broken.xml"),
                    "<mouse>\n<catalog name=\"x\" device_type=\"400\">\n</mouse>\n");

    const Outcome listed = corvanectl({"list"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.err.contains(devices() + QStringLiteral("/broken.xml:3: error: not "
                                                               "well-formed XML")))
        << listed.err.toStdString();
    EXPECT_TRUE(
        listed.err.contains(devices() + QStringLiteral("/fake_m1.xml: skipped: its "
                                                       "mouse 1209:c0a1 with identifier "
                                                       "CVM1 is Corvane M1, which is kept")))
        << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains(QStringLiteral("Corvane M1")));
    EXPECT_TRUE(listed.out.contains(QStringLiteral("Mouse 1209:c0c1")));

    // check-device says the same of the broken file, with its line, and fails.
    const Outcome checked = corvanectl({"check-device", devices() + "/broken.xml"}, false);
    EXPECT_EQ(checked.exitCode, 1);
    EXPECT_TRUE(checked.out.startsWith(devices() + "/broken.xml:3: error:"))
        << checked.out.toStdString();
    const Outcome clash = corvanectl({"check-device", devices() + "/fake_m1.xml"}, false);
    EXPECT_EQ(clash.exitCode, 1);
    EXPECT_TRUE(clash.out.contains(QStringLiteral("skips this file: its mouse 1209:c0a1")))
        << clash.out.toStdString();
}

TEST_F(UserDeviceFiles, UdevRuleCoversEveryModelAndIsSound) {
    writeDeviceFile(QStringLiteral("corvane_m3.xml"), templateFile());
    const Outcome rule = corvanectl({"udev-rule"}, false);
    ASSERT_EQ(rule.exitCode, 0) << rule.err.toStdString();
    const std::set<packaging::UsbId> everyModel = {
        {0x1209, 0xC0A1}, {0x1209, 0xC0A2}, {0x1209, 0xC0B1}, {0x1209, 0xC0C1}};
    const std::vector<QString> faults = packaging::udevRuleFaults(rule.out, everyModel);
    EXPECT_TRUE(faults.empty())
        << QStringList(faults.begin(), faults.end()).join('\n').toStdString();
}

// udevadm verify exists from systemd 253 on; where it does, it judges the rule too.
TEST_F(UserDeviceFiles, UdevadmVerifiesTheRuleWhereItCan) {
    QProcess version;
    version.start(QStringLiteral("udevadm"), {QStringLiteral("--version")});
    if (!version.waitForFinished(10000) || version.exitCode() != 0 ||
        version.readAllStandardOutput().trimmed().toInt() < 253)
        GTEST_SKIP() << "udevadm verify is not available here; our own reader checks the rule";
    writeDeviceFile(QStringLiteral("corvane_m3.xml"), templateFile());
    const Outcome rule = corvanectl({"udev-rule"}, false);
    ASSERT_EQ(rule.exitCode, 0) << rule.err.toStdString();
    QFile file(folder(QStringLiteral("71-corvane-local.rules")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rule.out.toUtf8());
    file.close();
    QProcess verify;
    verify.start(QStringLiteral("udevadm"), {QStringLiteral("verify"), file.fileName()});
    ASSERT_TRUE(verify.waitForFinished(30000));
    EXPECT_EQ(verify.exitCode(), 0) << verify.readAllStandardError().toStdString();
}

} // namespace
} // namespace corvane::cli::test
