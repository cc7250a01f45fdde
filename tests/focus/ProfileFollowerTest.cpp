// When the follower must not switch although the focus settled on an application.
#include "focus/ProfileFollower.h"

#include "support/WaitUntil.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <vector>

namespace corvane::focus {
namespace {

constexpr int kHang = 10000; // only catches a hang

struct HoldCase {
    const char* label;
    bool withRules;
    bool holding;
    bool ownWindow;
    bool switches;
};

class FollowerHolds : public ::testing::TestWithParam<HoldCase> {};

TEST_P(FollowerHolds, SwitchesOnlyWithARuleForAnotherProgramWhileNothingHolds) {
    const HoldCase& c = GetParam();
    std::vector<int> switches;
    ProfileFollower::Hooks hooks;
    hooks.rules = [&] {
        AppRules rules;
        if (c.withRules)
            rules.apps[1] = {QStringLiteral("krita")};
        return rules;
    };
    hooks.currentProfile = [] { return 4; };
    hooks.switchTo = [&](int profile) { switches.push_back(profile); };
    hooks.holding = [&] { return c.holding; };
    ProfileFollower follower(hooks, 20);
    std::vector<FocusedApp> settled;
    QObject::connect(&follower, &ProfileFollower::settled,
                     [&](const FocusedApp& app) { settled.push_back(app); });

    const qint64 pid = c.ownWindow ? QCoreApplication::applicationPid() : 999999;
    follower.focusChanged({QStringLiteral("krita"), {}, QStringLiteral("sketch"), pid});
    ASSERT_TRUE(test::waitUntil([&] { return !settled.empty(); }, kHang));
    EXPECT_EQ(switches, c.switches ? std::vector<int>{2} : std::vector<int>{});
    // Our own window is never remembered as the application focused before Corvane.
    EXPECT_EQ(follower.lastOtherApp().empty(), c.ownWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FollowerHolds,
    ::testing::Values(HoldCase{"a_rule_switches", true, false, false, true},
                      HoldCase{"no_rule_at_all_keeps_the_hand_picked_profile", false, false, false,
                               false},
                      HoldCase{"a_recording_holds_the_profile", true, true, false, false},
                      HoldCase{"our_own_window_keeps_the_profile", true, false, true, false}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace corvane::focus
