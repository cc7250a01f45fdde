// corvanectl rule: the rules corvanectl writes are the ones the window's follower reads.
#include "CliProcess.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace corvane::cli::test {
namespace {

// A profile's application list as the file holds it.
class Rules : public CliProcess {
protected:
    QString profileApps(int profile) const {
        const QStringList found =
            rows(QStringLiteral("SELECT app FROM t_profile_data WHERE profile=%1").arg(profile));
        return found.isEmpty() ? QStringLiteral("<no row>") : found.first();
    }
};

TEST_F(Rules, RulesAreAddedMovedRemovedAndListed) {
    EXPECT_EQ(corvanectl({"rule", "add", "3", "steam_app_730"}).exitCode, 0);
    EXPECT_EQ(corvanectl({"rule", "add", "2", " Blender "}).exitCode, 0);
    // An application chooses one profile: adding it to 4 takes it from 3.
    EXPECT_EQ(corvanectl({"rule", "add", "4", "STEAM_APP_730"}).exitCode, 0);
    EXPECT_EQ(corvanectl({"rule", "default", "2"}).exitCode, 0);

    const Outcome listed = corvanectl({"rule", "list"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, QStringLiteral("2    Blender\n4    STEAM_APP_730\ndefault 2\n"));
    const QJsonObject json =
        QJsonDocument::fromJson(corvanectl({"rule", "list", "--json"}).out.toUtf8()).object();
    EXPECT_EQ(json[u"default"].toInt(), 2);
    EXPECT_EQ(json[u"rules"].toArray().size(), 2);

    // What the store holds, read with a connection of its own.
    EXPECT_EQ(profileApps(3), QString());
    EXPECT_EQ(profileApps(4), QStringLiteral("STEAM_APP_730"));

    EXPECT_EQ(corvanectl({"rule", "remove", "2", "blender"}).exitCode, 0);
    EXPECT_EQ(profileApps(2), QString());
}

TEST_F(Rules, RefusalsChangeNothing) {
    ASSERT_EQ(corvanectl({"rule", "add", "1", "krita"}).exitCode, 0);
    const struct {
        QStringList arguments;
        int exitCode;
    } refusals[] = {
        {{"rule", "add", "9", "krita"}, 2},    // no profile 9
        {{"rule", "add", "2", "   "}, 2},      // no name
        {{"rule", "add", "2"}, 2},             // no application
        {{"rule", "remove", "2", "krita"}, 1}, // profile 2 has no such rule
        {{"rule", "default", "0"}, 2},
    };
    for (const auto& refusal : refusals) {
        const Outcome outcome = corvanectl(refusal.arguments);
        EXPECT_EQ(outcome.exitCode, refusal.exitCode) << refusal.arguments.join(' ').toStdString();
        EXPECT_FALSE(outcome.err.isEmpty()) << refusal.arguments.join(' ').toStdString();
    }
    EXPECT_EQ(profileApps(1), QStringLiteral("krita"));
    EXPECT_EQ(profileApps(2), QString());
}

TEST_F(Rules, FocusWithoutTheWindowSaysThatOnlyTheWindowFollowsIt) {
    const Outcome outcome = corvanectl({"focus"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("not running"))) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.out.isEmpty());
}

} // namespace
} // namespace corvane::cli::test
