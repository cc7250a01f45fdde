#include "app/frame/WindowPolicy.h"

#include <gtest/gtest.h>

using namespace corvane::app;

namespace {

TEST(WindowPolicy, CloseButtonFollowsExitModeAndTheTray) {
    EXPECT_EQ(closeActionFor(1, true), CloseAction::HideToTray);
    EXPECT_EQ(closeActionFor(1, false), CloseAction::Minimize);
    for (int exitMode : {0, 2, -1})
        EXPECT_EQ(closeActionFor(exitMode, true), CloseAction::Quit) << exitMode;
    EXPECT_EQ(closeActionFor(0, false), CloseAction::Quit);
}

TEST(WindowPolicy, HiddenStartNeedsATray) {
    EXPECT_EQ(startAppearanceFor(false, true), StartAppearance::Shown);
    EXPECT_EQ(startAppearanceFor(false, false), StartAppearance::Shown);
    EXPECT_EQ(startAppearanceFor(true, true), StartAppearance::HiddenInTray);
    EXPECT_EQ(startAppearanceFor(true, false), StartAppearance::Minimized);
}

} // namespace
