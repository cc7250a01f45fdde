#include "app/frame/WindowFit.h"

#include <gtest/gtest.h>

using corvane::app::fitWindow;
using corvane::app::kReadableDeviceScale;

namespace {

const QSize kDesign(1300, 788);
// A desktop's panel takes this many logical pixels from the height of every screen here.
constexpr int kPanel = 40;

TEST(WindowFit, ScreensPeopleUse) {
    const struct {
        QSize pixels;
        int percent;
        double scale;
        QSize window;
    } cases[] = {
        {{1366, 768}, 100, 728.0 / 788, {1201, 728}},
        {{1280, 720}, 100, 680.0 / 788, {1121, 680}},
        {{1920, 1080}, 100, 1.0, {1300, 788}},
        {{1920, 1080}, 125, 1.0, {1300, 788}},
        {{1920, 1080}, 150, 680.0 / 788, {1121, 680}},
        {{1920, 1080}, 200, 500.0 / 788, {824, 500}},
        {{3840, 2160}, 200, 1.0, {1300, 788}},
        {{3840, 2160}, 100, 1.0, {1300, 788}}, // never drawn larger than designed
    };
    for (const auto& c : cases) {
        const double ratio = c.percent / 100.0;
        const QSize available(int(c.pixels.width() / ratio),
                              int(c.pixels.height() / ratio) - kPanel);
        const auto fit = fitWindow(kDesign, available, ratio);
        const auto what = testing::Message() << c.pixels.width() << "x" << c.pixels.height()
                                             << " at " << c.percent << " %";
        EXPECT_NEAR(fit.scale, c.scale, 1e-9) << what;
        EXPECT_EQ(fit.size, c.window) << what;
        EXPECT_LE(fit.size.width(), available.width()) << what;
        EXPECT_LE(fit.size.height(), available.height()) << what;
        EXPECT_GE(fit.scale * ratio, kReadableDeviceScale) << what;
    }
}

TEST(WindowFit, TextStaysReadableOnTinyScreens) {
    // 800 x 480 at 100 %: fitting would draw 12-pixel text at under 7 pixels.
    const auto small = fitWindow(kDesign, QSize(800, 440), 1.0);
    EXPECT_DOUBLE_EQ(small.scale, kReadableDeviceScale);
    EXPECT_GT(small.size.height(), 440); // the caller maximises the window instead
    // The same logical area with twice the pixels may be drawn smaller.
    const auto sharp = fitWindow(kDesign, QSize(800, 440), 2.0);
    EXPECT_NEAR(sharp.scale, 440.0 / 788, 1e-9);
    EXPECT_LE(sharp.size.height(), 440);
}

TEST(WindowFit, UnknownAreaKeepsTheDesignSize) {
    const auto fit = fitWindow(kDesign, QSize(), 0.0);
    EXPECT_DOUBLE_EQ(fit.scale, 1.0);
    EXPECT_EQ(fit.size, kDesign);
}

} // namespace
