#include "SkinImages.h"

#include "Background.h"
#include "Glyphs.h"
#include "Mark.h"
#include "Mice.h"

namespace corvane::skin {

const std::vector<ImageRecipe>& skinImages() {
    static const std::vector<ImageRecipe> images = {
        {"main_bkg.png", {1300, 788}, paintMainBackground},
        {"logo.png", {160, 40}, paintLogo},
        {"corvane.png", {256, 256}, paintAppIcon},
        {"device/corvane_m1.png", {360, 420}, paintMouseM1},
        {"device/corvane_m2.png", {360, 420}, paintMouseM2},
        {"device/corvane_m1_list.png", {200, 160}, paintMouseM1Thumbnail},
        {"device/corvane_m2_list.png", {200, 160}, paintMouseM2Thumbnail},
        {"device/outline.png", {360, 420}, paintMouseOutline},
        {"device/outline_list.png", {200, 160}, paintMouseOutlineThumbnail},
        {"device_mode.png", {48, 24}, paintDeviceModes},
        {"icon/icon_battery_bkg.png", {32, 16}, paintBatteryOutline},
        {"icon/icon_batteryvalue.png", {32, 16}, paintBatteryFill},
        {"icon/icon_charge.png", {32, 16}, paintBatteryCharge},
        {"icon/tab_home.png", {32, 32}, paintTabHome},
        {"icon/tab_key.png", {32, 32}, paintTabKey},
        {"icon/tab_dpi.png", {32, 32}, paintTabDpi},
        {"icon/tab_macro.png", {32, 32}, paintTabMacro},
        {"icon/tab_light.png", {32, 32}, paintTabLight},
        {"icon/tab_set.png", {32, 32}, paintTabSet},
        {"sysbtn_close.png", {32, 32}, paintCaptionClose},
        {"sysbtn_minimize.png", {32, 32}, paintCaptionMinimize},
        {"sysbtn_maximize.png", {32, 32}, paintCaptionMaximize},
        {"sysbtn_restore.png", {32, 32}, paintCaptionRestore},
        {"sysbtn_setting.png", {32, 32}, paintCaptionSetting},
    };
    return images;
}

const std::vector<int>& iconFileSizes() {
    static const std::vector<int> sizes = {16, 32, 48, 256};
    return sizes;
}

const std::vector<ImageRecipe>& themeIcons() {
    static const std::vector<ImageRecipe> icons = {
        {"16x16/apps/io.github.corvane.Corvane.png", {16, 16}, paintAppIcon},
        {"32x32/apps/io.github.corvane.Corvane.png", {32, 32}, paintAppIcon},
        {"48x48/apps/io.github.corvane.Corvane.png", {48, 48}, paintAppIcon},
        {"64x64/apps/io.github.corvane.Corvane.png", {64, 64}, paintAppIcon},
        {"128x128/apps/io.github.corvane.Corvane.png", {128, 128}, paintAppIcon},
        {"256x256/apps/io.github.corvane.Corvane.png", {256, 256}, paintAppIcon},
    };
    return icons;
}

} // namespace corvane::skin
