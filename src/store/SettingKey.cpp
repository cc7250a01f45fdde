#include "store/SettingKey.h"

#include <limits>

namespace corvane::store {

// Colours are 0x00BBGGRR values (red in the low byte) held as decimal text.
const std::array<SettingKey, 40> kSettingKeys = {{
    {"version", "1.0.1"},
    {"lightmode", "3"},
    {"sleep_light", "1"},
    {"move_wakeup", "1"},
    {"move_closelight", "1"},
    {"report_rate", "2"},
    {"report_rate_wireless", "1"},
    {"report_count", "4"},
    {"report_flag", "127"},
    {"button_respondtime", "8"},
    {"sensor_flag", "53"},
    {"liftoff_height", "1"},
    {"scroll_flag", "1"},
    {"e-sports_flag", "0"},
    {"leftbtn_lock", "1"},
    {"dpi_flag", "6"},
    {"dpi_index", "1"},
    {"dpi_count", "6"},
    {"dpi_group0_value", "800"},
    {"dpi_group1_value", "1600"},
    {"dpi_group2_value", "2400"},
    {"dpi_group3_value", "3200"},
    {"dpi_group4_value", "6400"},
    {"dpi_group5_value", "26000"},
    {"dpi_group6_value", "26000"},
    {"dpi_group7_value", "0"},
    {"dpi_group0_rgb", "255"},      // 0x0000FF red
    {"dpi_group1_rgb", "16711680"}, // 0xFF0000 blue
    {"dpi_group2_rgb", "65280"},    // 0x00FF00 green
    {"dpi_group3_rgb", "65535"},    // 0x00FFFF yellow
    {"dpi_group4_rgb", "16711935"}, // 0xFF00FF magenta
    {"dpi_group5_rgb", "16776960"}, // 0xFFFF00 cyan
    {"dpi_group6_rgb", "16712191"}, // 0xFF01FF
    {"dpi_group7_rgb", "16777215"}, // 0xFFFFFF white
    {"dpi_group8_rgb", "2139135"},  // 0x20A3FF
    {"mouse_speed", "10"},
    {"mouse_sensitivity", "1"},
    {"wheel_scrollflag", "0"},
    {"wheel_scrolllines", "3"},
    {"doubleclick_time", "550"},
}};

int settingValueToInt(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    const long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > limit) {
            value = limit; // saturates like the C conversions do
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

} // namespace corvane::store
