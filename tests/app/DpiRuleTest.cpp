#include "app/frame/DpiRule.h"

#include <gtest/gtest.h>

using namespace corvane::app;

namespace {

TEST(DpiRule, DecidesFromScreenSizeAndScale) {
    const struct {
        int width, height, scale;
        bool aware;
    } cases[] = {
        {1920, 1080, 144, true},  {1920, 1080, 125, false}, {1920, 1080, 100, false},
        {1920, 1080, 192, true},  {1366, 768, 100, true},   {1366, 768, 144, true},
        {1399, 1050, 100, true},  {1400, 1050, 100, false}, {1600, 799, 100, true},
        {2560, 1440, 192, false}, {1920, 1200, 144, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shouldBeDpiAware(c.width, c.height, c.scale), c.aware)
            << c.width << "x" << c.height << " at " << c.scale;
}

TEST(DpiRule, ScaleClassOfMonitorDpi) {
    const struct {
        int dpi, scale;
    } cases[] = {
        {0, 100},   {72, 100},  {96, 100},  {97, 100},  {120, 125}, {121, 100},
        {144, 144}, {168, 168}, {192, 192}, {240, 100}, {-5, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scaleClassOfDpi(c.dpi), c.scale) << c.dpi;
}

TEST(DpiRule, FullHdAtOneHundredFiftyPercentGoesThroughTheScaleClass) {
    EXPECT_TRUE(logDpiDecision(1920, 1080, scaleClassOfDpi(144)));
    EXPECT_FALSE(logDpiDecision(1920, 1080, scaleClassOfDpi(120)));
}

} // namespace
