// show --json gives back what set, bind and unbind take: a profile's JSON made into
// commands for another profile reproduces it there.
#include "CliProcess.h"
#include "support/HttpTestServer.h"

#include <QJsonArray>

namespace corvane::cli::test {
namespace {

QString list(const QJsonArray& values, const char* field = nullptr) {
    QStringList items;
    for (const QJsonValue& value : values) {
        const QJsonValue item = field ? value.toObject()[QLatin1String(field)] : value;
        items << (item.isString() ? item.toString() : QString::number(item.toInt()));
    }
    return items.join(u',');
}

QString onOff(const QJsonValue& value) {
    return value.toBool() ? QStringLiteral("on") : QStringLiteral("off");
}

// The commands that give the current profile what `shown` describes.
std::vector<QStringList> commandsFor(const QJsonObject& shown) {
    std::vector<QStringList> commands;
    const QJsonObject dpi = shown[u"dpi"].toObject();
    commands.push_back({"set", "dpi", "--stages", list(dpi[u"stages"].toArray(), "dpi"),
                        "--colours", list(dpi[u"stages"].toArray(), "colour"), "--count",
                        QString::number(dpi[u"count"].toInt()), "--active",
                        QString::number(dpi[u"active"].toInt())});
    commands.push_back({"set", "rate", QString::number(shown[u"rate"].toInt())});
    commands.push_back({"set", "lod", QString::number(shown[u"lod"].toInt())});
    QStringList sensor{"set", "sensor"};
    const QJsonObject options = shown[u"sensor"].toObject();
    for (auto it = options.begin(); it != options.end(); ++it)
        sensor << it.key() + u'=' + onOff(it.value());
    commands.push_back(sensor);
    const QJsonObject sleep = shown[u"sleep"].toObject();
    commands.push_back({"set", "sleep", QString::number(sleep[u"minutes"].toInt()),
                        "--wake-on-move", onOff(sleep[u"wake-on-move"]), "--light-off-on-move",
                        onOff(sleep[u"light-off-on-move"])});
    commands.push_back({"set", "respond", QString::number(shown[u"respond"].toInt())});
    const QJsonObject lighting = shown[u"lighting"].toObject();
    QStringList light{"set", "lighting", lighting[u"mode"].toString()};
    if (lighting.contains(u"brightness"))
        light << "--brightness" << QString::number(lighting[u"brightness"].toInt());
    if (lighting.contains(u"speed"))
        light << "--speed" << QString::number(lighting[u"speed"].toInt());
    if (lighting.contains(u"colours"))
        light << "--colours" << list(lighting[u"colours"].toArray());
    commands.push_back(light);
    for (const QJsonValue& value : shown[u"keys"].toArray()) {
        const QJsonObject key = value.toObject();
        if (key[u"stored"].toBool())
            commands.push_back({"bind", key[u"key"].toString(), key[u"function"].toString()});
        else if (key[u"number"].toInt() != 0)
            commands.push_back({"unbind", key[u"key"].toString()});
    }
    return commands;
}

TEST_F(CliProcess, ShowJsonRoundTripsThroughSetAndBind) {
    const std::vector<QStringList> changes = {
        {"set", "dpi", "--stages", "500,1000,2000,4000", "--colours", "#123456,#ABCDEF", "--active",
         "3"},
        {"set", "rate", "250"},
        {"set", "lod", "2"},
        {"set", "sensor", "angle-snapping=on", "motion-sync=off"},
        {"set", "sleep", "15", "--light-off-on-move", "off"},
        {"set", "respond", "16"},
        {"set", "lighting", "breathing", "--brightness", "1", "--speed", "3", "--colours",
         "#FF0000,#00FF00,#0000FF,#FFFFFF,#000000,#808080,#FFFF00"},
        {"macro", "import", QStringLiteral(CORVANE_TEST_DATA_DIR "/reload.xml")},
        {"bind", "back", "key:ctrl+shift+t"},
        {"bind", "forward", "macro:Reload"},
        {"bind", "middle", "repeat:10,20"},
        {"bind", "dpi", "dpi:up"},
    };
    for (const QStringList& change : changes)
        ASSERT_EQ(corvanectl(change).exitCode, 0) << change.join(u' ').toStdString();
    QJsonObject first = showJson();

    ASSERT_EQ(corvanectl({"profile", "switch", "2"}).exitCode, 0);
    QJsonObject second = showJson();
    ASSERT_NE(second, first) << "profile 2 starts from other values";
    for (const QStringList& command : commandsFor(first)) {
        const Outcome run = corvanectl(command);
        ASSERT_EQ(run.exitCode, 0) << command.join(u' ').toStdString() << run.err.toStdString();
    }
    second = showJson();
    EXPECT_EQ(second[u"profile"].toObject()[u"id"].toInt(), 2);
    first.remove(u"profile");
    second.remove(u"profile");
    EXPECT_EQ(second, first);
}

// A profile and a macro written to files come back from them as they were: the profile
// into another profile, the macro as a second macro with the same steps.
TEST_F(CliProcess, ProfileAndMacroFilesComeBackAsTheyWent) {
    const std::vector<QStringList> changes = {
        {"set", "dpi", "--stages", "700,1400,2800", "--active", "2"},
        {"set", "rate", "125"},
        {"set", "sleep", "2", "--wake-on-move", "off"},
        {"set", "lighting", "steady", "--colour", "#336699", "--brightness", "2"},
        {"macro", "import", QStringLiteral(CORVANE_TEST_DATA_DIR "/reload.xml")},
        {"bind", "forward", "macro:Reload"},
        {"bind", "back", "media:mute"},
    };
    for (const QStringList& change : changes)
        ASSERT_EQ(corvanectl(change).exitCode, 0) << change.join(u' ').toStdString();
    for (const QStringList& save : {QStringList{"profile", "export", "1", "mine.xml"},
                                    QStringList{"macro", "export", "Reload", "reload-out.xml"}}) {
        const Outcome run = corvanectl(save);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty() && run.err.isEmpty());
    }
    QJsonObject first = showJson();

    ASSERT_EQ(corvanectl({"profile", "switch", "3"}).exitCode, 0);
    forgetWhatTheMouseHolds();
    const Outcome imported = corvanectl({"profile", "import", "mine.xml"});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    QJsonObject third = showJson();
    EXPECT_EQ(third[u"profile"].toObject()[u"id"].toInt(), 3);
    EXPECT_EQ(third[u"profile"].toObject()[u"name"].toString(), QStringLiteral("mine"));
    first.remove(u"profile");
    third.remove(u"profile");
    EXPECT_EQ(third, first);
    // The import pushed profile 3 with the macro its forward key plays.
    expectMouseHolds({{"stage 1 dpi", "700"},
                      {"stage 2 dpi", "1400"},
                      {"stage 3 dpi", "2800"},
                      {"active stage", "2"},
                      {"rate", "125 Hz"},
                      {"sleep", "120 s"},
                      {"wake on motion", "off"},
                      {"lighting mode", "3"},
                      {"lighting brightness", "2"},
                      {"lighting colours", "#336699"},
                      {"button index 3", "media mute"},
                      {"button index 4", "macro 4 x1"},
                      {"macro 4", "A down 20 ms, A up 1 ms"}});

    const Outcome again = corvanectl({"macro", "import", "reload-out.xml"});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    const QStringList macros = rows("SELECT name, play_type, play_times, delay_type, delay_time "
                                    "FROM t_macro_data ORDER BY macro_id");
    ASSERT_EQ(macros.size(), 2);
    EXPECT_EQ(macros[1], macros[0]);
    const QString steps =
        QStringLiteral("SELECT type, value FROM t_macrorecord WHERE macro_id = "
                       "(SELECT macro_id FROM t_macro_data ORDER BY macro_id LIMIT 1 OFFSET "
                       "%1) ORDER BY record_index");
    EXPECT_EQ(rows(steps.arg(1)), rows(steps.arg(0)));
    EXPECT_EQ(rows(steps.arg(0)).size(), 3);
    const Outcome listed = corvanectl({"macro", "list"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, QStringLiteral("1: Reload (3 steps)\n2: Reload (3 steps)\n"));
}

// A profile nothing has changed yet still has the lighting show reports for it, and its
// file brings that lighting along.
TEST_F(CliProcess, AnUntouchedProfilesFileKeepsItsLighting) {
    const QJsonValue lighting = showJson(2)[u"lighting"];
    ASSERT_TRUE(lighting.isObject());
    ASSERT_EQ(corvanectl({"profile", "export", "2", "two.xml"}).exitCode, 0);
    ASSERT_EQ(corvanectl({"profile", "switch", "3"}).exitCode, 0);
    ASSERT_EQ(corvanectl({"set", "lighting", "off"}).exitCode, 0);
    ASSERT_EQ(corvanectl({"profile", "import", "two.xml"}).exitCode, 0);
    EXPECT_EQ(showJson()[u"lighting"], lighting);
}

// corvanectl's own worker never asks the download server: a slow server made every
// command without a window fail. Every https request would go through this proxy.
TEST_F(CliProcess, CommandsNeverContactTheDownloadServer) {
    corvane::test::HttpTestServer proxy;
    ASSERT_TRUE(proxy.isListening());
    const QByteArray before = qgetenv("https_proxy");
    qputenv("https_proxy", proxy.url().toLatin1());
    const Outcome list = corvanectl({QStringLiteral("list")});
    const Outcome set =
        corvanectl({QStringLiteral("set"), QStringLiteral("rate"), QStringLiteral("500")});
    if (before.isEmpty())
        qunsetenv("https_proxy");
    else
        qputenv("https_proxy", before);
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_EQ(proxy.requestCount(), 0u);
}

} // namespace
} // namespace corvane::cli::test
