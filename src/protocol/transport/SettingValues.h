#pragma once

#include <QStringView>

#include <array>
#include <vector>

namespace corvane::protocol {

// One per-profile setting a decoded answer gives: its key and its number (stored as
// decimal text). The keys point at static literals.
struct SettingValue {
    QStringView key;
    int value = 0;

    friend bool operator==(const SettingValue& a, const SettingValue& b) {
        return a.key == b.key && a.value == b.value;
    }
};
using SettingValues = std::vector<SettingValue>;

inline constexpr int kDpiStages = 6; // stages the mouse keeps (the seventh is never sent)

// The settings the performance commands carry.
namespace keys {
inline constexpr QStringView dpiCount = u"dpi_count";
inline constexpr QStringView dpiIndex = u"dpi_index";
inline constexpr QStringView dpiFlag = u"dpi_flag";
inline constexpr std::array<QStringView, kDpiStages> dpiValue{
    u"dpi_group0_value", u"dpi_group1_value", u"dpi_group2_value",
    u"dpi_group3_value", u"dpi_group4_value", u"dpi_group5_value"};
inline constexpr std::array<QStringView, kDpiStages> dpiColor{u"dpi_group0_rgb", u"dpi_group1_rgb",
                                                              u"dpi_group2_rgb", u"dpi_group3_rgb",
                                                              u"dpi_group4_rgb", u"dpi_group5_rgb"};
inline constexpr QStringView reportRate = u"report_rate";
inline constexpr QStringView reportRateWireless = u"report_rate_wireless";
inline constexpr QStringView liftoffHeight = u"liftoff_height";
inline constexpr QStringView sensorFlag = u"sensor_flag";
inline constexpr QStringView sleepLight = u"sleep_light";
inline constexpr QStringView moveWakeup = u"move_wakeup";
inline constexpr QStringView moveCloseLight = u"move_closelight";
inline constexpr QStringView buttonResponseTime = u"button_respondtime";
} // namespace keys

} // namespace corvane::protocol
