#include "store/ValueRules.h"

#include <QString>

#include <algorithm>
#include <array>
#include <limits>

namespace corvane::store {

namespace {

constexpr auto kReportRates = std::to_array<ReportRateChoice>({
    {125, 8},
    {250, 4},
    {500, 2},
    {1000, 1},
    {2000, 16},
    {4000, 32},
    {8000, 64},
});
constexpr int kAllRatesCapability = 7;
constexpr std::size_t kBasicRates = 4; // up to 1000 Hz

constexpr auto kSleepChoices = std::to_array<SleepChoice>({
    {1, 6},
    {2, 12},
    {5, 30},
    {6, 36},
    {10, 60},
    {15, 90},
    {20, 120},
    {30, 180},
});

// DPI grids. Each piece starts on a point of the one before, so a grid is the points
// 0, step, 2 step ... of the first piece up to the second's start, and so on.
constexpr DpiPiece kBy50[] = {{0, 50}};
constexpr DpiPiece kBy100[] = {{0, 100}};
// Sensor 0x11: 50 up to 10000, 100 up to 12000, then 1000 (13000, 14000 ...): the
// encoding has no unit for a value between 12000 and 13000.
constexpr DpiPiece kSensor11[] = {{0, 50}, {10000, 100}, {12000, 1000}};
constexpr DpiPiece kSensor05[] = {{0, 50}, {6400, 100}};
constexpr DpiPiece kSensor19[] = {{0, 100}, {16000, 1000}};
constexpr DpiPiece kBy100Then500From5000[] = {{0, 100}, {5000, 500}};
// Sensor 0x04: 100 up to 3900, then 4500 in steps of 500; the unit after 3900 is 4500.
constexpr DpiPiece kSensor04[] = {{0, 100}, {3900, 600}, {4500, 500}};
// Sensor 0x26 (slider offset -1): position p is grid point p + 1, so 100 apart up to 5000
// (position 49) and 500 apart after it; 5500 is position 50 and position 50 reads 5500.
// Counting the positions above 5000 as (dpi - 5000) / 500 + 50 instead would put 5500 at
// 51, which reads back as 6000: every value here keeps its position both ways.

// clang-format off
const auto kSensorRules = std::to_array<SensorDpiRule>({
    // sensor, min, max, grid, slider offset
    {0x04, 100, 8000,  kSensor04,              0},
    {0x05, 50,  12000, kSensor05,              0},
    {0x10, 100, 4800,  kBy100,                 0},
    {0x11, 50,  24000, kSensor11,              0},
    {0x12, 100, 4800,  kBy100,                 0},
    {0x19, 100, 30000, kSensor19,              0},
    {0x25, 100, 10000, kBy100Then500From5000,  0},
    {0x26, 200, 10000, kBy100Then500From5000, -1},
    {0x35, 100, 16000, kBy100,                 0},
    {0x95, 100, 26000, kBy50,                  0},
    {0x96, 100, 32000, kBy50,                  0},
    {-1,   50,  26000, kBy50,                  0},
});
// clang-format on

// The grid point at or below dpi (dpi >= 0), and its number counting 0 as point 0.
struct GridPoint {
    int dpi;
    int number;
};

GridPoint gridPointAtOrBelow(const SensorDpiRule& rule, int dpi) {
    int number = 0;
    for (std::size_t i = 0; i < rule.pieces.size(); ++i) {
        const DpiPiece& piece = rule.pieces[i];
        const bool last = i + 1 == rule.pieces.size();
        const int end = last ? std::numeric_limits<int>::max() : rule.pieces[i + 1].from;
        if (dpi < end || last) {
            const int steps = (dpi - piece.from) / piece.step;
            return {piece.from + steps * piece.step, number + steps};
        }
        number += (end - piece.from) / piece.step;
    }
    return {0, 0}; // not reached: every grid has a piece
}

int gridPointNumbered(const SensorDpiRule& rule, int number) {
    int first = 0; // number of the piece's first point
    for (std::size_t i = 0; i < rule.pieces.size(); ++i) {
        const DpiPiece& piece = rule.pieces[i];
        const bool last = i + 1 == rule.pieces.size();
        const int points = last ? std::numeric_limits<int>::max()
                                : (rule.pieces[i + 1].from - piece.from) / piece.step;
        if (last || number - first < points) {
            const long long dpi = piece.from + static_cast<long long>(number - first) * piece.step;
            return static_cast<int>(std::min<long long>(dpi, std::numeric_limits<int>::max()));
        }
        first += points;
    }
    return 0;
}

using Rule = bool (*)(int);

bool anyStageIndex(int value) {
    return isStageIndex(value);
}
bool stageCount(int value) {
    return isStageCount(value);
}
bool dpiValue(int value) {
    return kAnyDpiRange.contains(value);
}
bool colour(int value) {
    return kColourRange.contains(value);
}
bool responseTime(int value) {
    return kResponseTimeRange.contains(value);
}
bool sensorFlags(int value) {
    return kSensorFlagRange.contains(value);
}
bool flag(int value) {
    return isFlag(value);
}
bool liftOff(int value) {
    return isLiftOffCode(value);
}
bool reportRate(int value) {
    return isReportRateCode(value);
}
bool sleepCode(int value) {
    return isSleepCode(value);
}

struct KeyRule {
    const char16_t* key;
    Rule rule;
};

constexpr auto kKeyRules = std::to_array<KeyRule>({
    {u"sleep_light", sleepCode},
    {u"move_wakeup", flag},
    {u"move_closelight", flag},
    {u"report_rate", reportRate},
    {u"report_rate_wireless", reportRate},
    {u"button_respondtime", responseTime},
    {u"sensor_flag", sensorFlags},
    {u"liftoff_height", liftOff},
    {u"scroll_flag", flag},
    {u"e-sports_flag", flag},
    // The mouse's read-back stores the stage count in dpi_flag as well.
    {u"dpi_flag", stageCount},
    {u"dpi_index", anyStageIndex},
    {u"dpi_count", stageCount},
    {u"dpi_group0_value", dpiValue},
    {u"dpi_group1_value", dpiValue},
    {u"dpi_group2_value", dpiValue},
    {u"dpi_group3_value", dpiValue},
    {u"dpi_group4_value", dpiValue},
    {u"dpi_group5_value", dpiValue},
    {u"dpi_group6_value", dpiValue},
    {u"dpi_group0_rgb", colour},
    {u"dpi_group1_rgb", colour},
    {u"dpi_group2_rgb", colour},
    {u"dpi_group3_rgb", colour},
    {u"dpi_group4_rgb", colour},
    {u"dpi_group5_rgb", colour},
    {u"dpi_group6_rgb", colour},
    {u"dpi_group7_rgb", colour},
    {u"dpi_group8_rgb", colour},
    {u"mouse_sensitivity", flag},
    {u"wheel_scrollflag", flag},
});

bool stepDelay(int value) {
    return kStepDelayRange.contains(value);
}
bool virtualKey(int value) {
    return kVirtualKeyRange.contains(value);
}
bool mouseButton(int value) {
    return std::find(std::begin(kMouseButtonBits), std::end(kMouseButtonBits), value) !=
           std::end(kMouseButtonBits);
}

struct StepRule {
    int type;
    Rule rule;
};

// delay, key down and up, button down and up
constexpr auto kStepRules = std::to_array<StepRule>({
    {1, stepDelay},
    {2, virtualKey},
    {3, virtualKey},
    {4, mouseButton},
    {5, mouseButton},
});

Rule ruleOf(QStringView key) {
    for (const KeyRule& entry : kKeyRules) {
        if (key == QStringView(entry.key)) {
            return entry.rule;
        }
    }
    return nullptr;
}

} // namespace

std::span<const ReportRateChoice> reportRateChoices() {
    return kReportRates;
}

std::span<const ReportRateChoice> offeredReportRates(int rateCapability) {
    if (rateCapability == kAllRatesCapability) {
        return kReportRates;
    }
    return std::span(kReportRates).first(kBasicRates);
}

bool isReportRateCode(int code) {
    return std::any_of(kReportRates.begin(), kReportRates.end(),
                       [&](const ReportRateChoice& rate) { return rate.code == code; });
}

std::span<const SleepChoice> sleepChoices() {
    return kSleepChoices;
}

bool isSleepCode(int code) {
    return std::any_of(kSleepChoices.begin(), kSleepChoices.end(),
                       [&](const SleepChoice& choice) { return choice.code == code; });
}

std::span<const SensorDpiRule> sensorDpiRules() {
    return kSensorRules;
}

const SensorDpiRule& sensorDpiRule(int sensorId) {
    const auto* it = std::find_if(kSensorRules.begin(), kSensorRules.end() - 1,
                                  [&](const SensorDpiRule& r) { return r.sensorId == sensorId; });
    return *it; // the last rule serves every sensor not listed
}

int snapDpi(int sensorId, int dpi) {
    const SensorDpiRule& rule = sensorDpiRule(sensorId);
    return gridPointAtOrBelow(rule, std::clamp(dpi, rule.dpiMin, rule.dpiMax)).dpi;
}

bool isCarriedDpi(int sensorId, int dpi) {
    return snapDpi(sensorId, dpi) == dpi;
}

int dpiToSliderPosition(int sensorId, int dpi) {
    const SensorDpiRule& rule = sensorDpiRule(sensorId);
    const GridPoint point = gridPointAtOrBelow(rule, std::clamp(dpi, rule.dpiMin, rule.dpiMax));
    return std::max(0, point.number + rule.sliderOffset);
}

int sliderPositionToDpi(int sensorId, int position) {
    const SensorDpiRule& rule = sensorDpiRule(sensorId);
    const int number = std::clamp(position, 0, dpiSliderMaxPosition(sensorId)) - rule.sliderOffset;
    return std::clamp(gridPointNumbered(rule, number), rule.dpiMin, rule.dpiMax);
}

int dpiSliderMaxPosition(int sensorId) {
    return dpiToSliderPosition(sensorId, sensorDpiRule(sensorId).dpiMax);
}

bool isValidMacroSettings(int playType, int playTimes, int delayType, int delayTime) {
    if (!kPlayTypeRange.contains(playType) || !kPlayTimesRange.contains(playTimes) ||
        !kDelayTypeRange.contains(delayType)) {
        return false;
    }
    return delayType == kFixedDelayType ? kFixedDelayRange.contains(delayTime) : delayTime == 0;
}

bool isValidMacroStep(int type, int value) {
    for (const StepRule& entry : kStepRules) {
        if (entry.type == type) {
            return entry.rule(value);
        }
    }
    return false;
}

bool hasValueRule(QStringView key) {
    return ruleOf(key) != nullptr;
}

bool isValidSetting(QStringView key, int value) {
    const Rule rule = ruleOf(key);
    return rule == nullptr || rule(value);
}

std::optional<int> plainDecimal(QStringView text) {
    QStringView digits = text;
    const bool negative = digits.startsWith(u'-');
    if (negative) {
        digits = digits.mid(1);
    }
    if (digits.isEmpty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == u'0') ||
        (negative && digits == u"0")) {
        return std::nullopt;
    }
    long long value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

bool isValidSettingText(QStringView key, QStringView text) {
    const Rule rule = ruleOf(key);
    if (rule == nullptr) {
        return true;
    }
    const std::optional<int> value = plainDecimal(text);
    return value.has_value() && rule(*value);
}

} // namespace corvane::store
