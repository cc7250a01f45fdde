// show --json gives back what set, bind and unbind take: a profile's JSON made into
// commands for another profile reproduces it there.
#include "CliProcess.h"

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

} // namespace
} // namespace corvane::cli::test
