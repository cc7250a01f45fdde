#include "focus/AppRules.h"
#include "focus/FocusDebounce.h"

#include <gtest/gtest.h>

namespace corvane::focus {
namespace {

TEST(AppList, StoredListsAreTrimmedWithoutBlanksOrRepeats) {
    EXPECT_EQ(parseAppList(QStringLiteral("  steam_app_730 \n\n\tfirefox\n")),
              (QStringList{QStringLiteral("steam_app_730"), QStringLiteral("firefox")}));
    EXPECT_EQ(formatAppList({QStringLiteral(" Blender "), QStringLiteral(""),
                             QStringLiteral("blender"), QStringLiteral("two\nlines")}),
              QStringLiteral("Blender\ntwo lines"));
    // What is formatted reads back as the same list.
    const QStringList apps{QStringLiteral("org.gnome.Nautilus"), QStringLiteral("krita")};
    EXPECT_EQ(parseAppList(formatAppList(apps)), apps);
}

struct RuleCase {
    const char* label;
    FocusedApp app;
    const char* executable;
    int profile;
};

AppRules sampleRules() {
    AppRules rules;
    rules.apps[1] = {QStringLiteral("steam_app_730"), QStringLiteral("Blender")};
    rules.apps[2] = {QStringLiteral("firefox"), QStringLiteral("blender")};
    rules.apps[3] = {QStringLiteral("obs")};
    rules.defaultProfile = 1;
    return rules;
}

class ProfileForApp : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ProfileForApp, FirstProfileNamingTheApplicationElseTheDefault) {
    const RuleCase& c = GetParam();
    EXPECT_EQ(profileFor(sampleRules(), identitiesOf(c.app, QString::fromUtf8(c.executable))),
              c.profile);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileForApp,
    ::testing::Values(
        RuleCase{"proton_game_by_class", {QStringLiteral("steam_app_730"), {}, {}, 0}, "", 2},
        RuleCase{"wayland_app_id_any_case", {QStringLiteral("Firefox"), {}, {}, 0}, "", 3},
        RuleCase{
            "x11_instance", {QStringLiteral("Navigator"), QStringLiteral("firefox"), {}, 0}, "", 3},
        RuleCase{
            "executable_fallback", {QStringLiteral("com.obsproject.Studio"), {}, {}, 42}, "obs", 4},
        RuleCase{
            "two_profiles_name_it_the_first_wins", {QStringLiteral("blender"), {}, {}, 0}, "", 2},
        RuleCase{"no_rule_gives_the_default", {QStringLiteral("gedit"), {}, {}, 0}, "gedit", 1}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FocusDebounce, AltTabThroughFiveWindowsSettlesOnceOnTheLast) {
    FocusDebounce debounce(300);
    std::int64_t now = 1000;
    for (int window = 1; window <= 5; ++window) {
        debounce.changed({QStringLiteral("app%1").arg(window), {}, {}, window}, now);
        EXPECT_FALSE(debounce.settle(now + 50)) << "window " << window;
        now += 60;
    }
    const std::int64_t last = now - 60;
    EXPECT_FALSE(debounce.settle(last + 299));
    const auto settled = debounce.settle(last + 300);
    ASSERT_TRUE(settled);
    EXPECT_EQ(settled->appId, QStringLiteral("app5"));
    EXPECT_FALSE(debounce.settle(last + 5000)) << "given once";
}

TEST(FocusDebounce, ARepeatedReportOfThePendingWindowDoesNotRestartTheWait) {
    FocusDebounce debounce(300);
    const FocusedApp app{QStringLiteral("krita"), {}, {}, 7};
    debounce.changed(app, 0);
    EXPECT_EQ(debounce.changed(app, 200), 300);
    EXPECT_TRUE(debounce.settle(300));
}

} // namespace
} // namespace corvane::focus
