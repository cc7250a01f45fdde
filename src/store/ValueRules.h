#pragma once

#include <QStringView>

#include <optional>
#include <span>

namespace corvane::store {

// What a stored setting may hold: decided here once and used by the pages, the file
// importers, the worker's notices and the command-line tool alike. A value a rule
// refuses is one no page could have written.

struct IntRange {
    int min;
    int max;

    constexpr bool contains(int value) const { return value >= min && value <= max; }
    constexpr int clamp(int value) const { return value < min ? min : (value > max ? max : value); }
};

// DPI stages: dpi_count is 1..6, dpi_index counts from 0 and stays below the count.
inline constexpr IntRange kStageCountRange{1, 6};
inline constexpr int kMaxStages = 6;
constexpr bool isStageCount(int count) {
    return kStageCountRange.contains(count);
}
constexpr bool isStageIndex(int index, int count = kMaxStages) {
    return index >= 0 && index < count && isStageCount(count);
}

// button_respondtime.
inline constexpr IntRange kResponseTimeRange{4, 20};
// Colours: 0x00BBGGRR values, red in the low byte.
inline constexpr IntRange kColourRange{0, 0xFFFFFF};
// A lighting mode's brightness and speed levels (the lighting page's two sliders).
inline constexpr IntRange kBrightnessRange{0, 4};
inline constexpr IntRange kSpeedRange{0, 4};
// Any DPI value any sensor takes: the lowest minimum and the highest maximum of the
// sensor rules below. A value for a known sensor is checked with snapDpi.
inline constexpr IntRange kAnyDpiRange{50, 38000};

// Report rates: the code a profile stores for each rate, slowest rate first.
struct ReportRateChoice {
    int hertz;
    int code;
};
std::span<const ReportRateChoice> reportRateChoices();
// The rates a mouse offers for its rate capability: all seven for capability 7, the
// four up to 1000 Hz for any other value (0 before the mouse was read).
std::span<const ReportRateChoice> offeredReportRates(int rateCapability);
bool isReportRateCode(int code);

// liftoff_height: 1 for 1.0 mm, 2 for 2.0 mm.
inline constexpr int kLiftOffLow = 1;
inline constexpr int kLiftOffHigh = 2;
constexpr bool isLiftOffCode(int code) {
    return code == kLiftOffLow || code == kLiftOffHigh;
}

// sleep_light: the sleep time in units of 10 seconds, one code per choice.
struct SleepChoice {
    int minutes;
    int code;
};
std::span<const SleepChoice> sleepChoices();
bool isSleepCode(int code);

// On/off settings hold 1 or 0.
constexpr bool isFlag(int value) {
    return value == 0 || value == 1;
}

// sensor_flag: the performance page edits bits 4, 8 and 16 and keeps the others; the
// whole value is one byte of bits.
inline constexpr int kSensorOptionBits[] = {4, 8, 16};
inline constexpr IntRange kSensorFlagRange{0, 0xFF};

// What a lighting mode lets the user adjust: bits of its light row's configFunc.
namespace LightFunction {
inline constexpr int Brightness = 0x001;
inline constexpr int Speed = 0x002;
inline constexpr int Colour = 0x010; // the colour editor (one colour, or the slot that is on)
inline constexpr int ColourSlots = 0x800;
} // namespace LightFunction

// --- DPI rules per sensor -------------------------------------------------------------

// One piece of a sensor's DPI grid: from `from` on, values go in steps of `step`
// (until the next piece starts).
struct DpiPiece {
    int from;
    int step;
};

// What a sensor (GetInfo's sensor code) allows: the DPI range a page may store and the
// grid of values its encoding can carry. The slider's position p is the grid point
// numbered p + sliderOffset, counting 0 as grid point 0.
struct SensorDpiRule {
    int sensorId; // -1 for the rule of every sensor not listed
    int dpiMin;
    int dpiMax;
    std::span<const DpiPiece> pieces; // rising, the first from 0
    int sliderOffset;
};

// Every listed sensor, followed by the rule of every other code.
std::span<const SensorDpiRule> sensorDpiRules();
const SensorDpiRule& sensorDpiRule(int sensorId);

// The value the mouse runs for a typed, dragged or imported DPI: limited to the
// sensor's range, then rounded down to its grid.
int snapDpi(int sensorId, int dpi);
bool isCarriedDpi(int sensorId, int dpi); // snapDpi leaves it as it is
// The DPI slider: position of a value, and the value of a position (never below the
// sensor's minimum, never above its maximum).
int dpiToSliderPosition(int sensorId, int dpi);
int sliderPositionToDpi(int sensorId, int position);
// The highest slider position (that of the sensor's maximum).
int dpiSliderMaxPosition(int sensorId);

// --- macros ------------------------------------------------------------------------------

// play_type: 0 plays play_times times, 1 and 2 the macro page's other two choices.
inline constexpr IntRange kPlayTypeRange{0, 2};
// play_times: 1..255 for every mouse (the macro stream carries the count in one byte).
inline constexpr IntRange kPlayTimesRange{1, 255};
// delay_type: 0 no delay, 1 recorded delays, 2 a fixed delay of delay_time (1..10000 ms;
// 0 with the other types).
inline constexpr IntRange kDelayTypeRange{0, 2};
inline constexpr int kFixedDelayType = 2;
inline constexpr IntRange kFixedDelayRange{1, 10000};
// A step: 1 delay (1..31000 ms, the longest pause a recording keeps), 2 and 3 a key
// down and up (a virtual-key code, 1..254), 4 and 5 a mouse button down and up (one of
// the five button bits).
inline constexpr IntRange kStepDelayRange{1, 31000};
inline constexpr IntRange kVirtualKeyRange{1, 254};
inline constexpr int kMouseButtonBits[] = {1, 2, 4, 8, 16};

// The macro's own settings (not its name) as the macro page could have written them.
bool isValidMacroSettings(int playType, int playTimes, int delayType, int delayTime);
bool isValidMacroStep(int type, int value);

// --- settings by key -------------------------------------------------------------------

// True when the key has a rule. Keys without one (the version text, the lighting mode
// at creation, the counters nothing reads, the desktop pointer values, the stage
// values beyond the seventh) take any value.
bool hasValueRule(QStringView key);
// The value rule of one setting key, on its number. A stage index is checked against
// the largest count here; isStageIndex with the profile's count checks it fully.
bool isValidSetting(QStringView key, int value);
// The same on stored text: it must be what a page writes, the plain decimal text of a
// valid number ("%d": an optional minus and digits, no blanks, no leading zeros).
// Keys without a rule accept any text.
bool isValidSettingText(QStringView key, QStringView text);
// The number of a plain decimal text, or nothing for any other text.
std::optional<int> plainDecimal(QStringView text);

} // namespace corvane::store
