#include "store/SettingKey.h"
#include "store/ValueRules.h"

#include "protocol/codec/SensorTable.h"

#include <QString>

#include <gtest/gtest.h>

#include <set>

namespace corvane::store {
namespace {

// --- DPI ---------------------------------------------------------------------------------

struct SnapCase {
    int sensor;
    int typed;
    int stored;
};

TEST(DpiRules, TypedValuesSnapToWhatTheMouseRuns) {
    const SnapCase cases[] = {
        {17, 10049, 10000},  {17, 10, 50},       {17, 30000, 24000}, {17, 10051, 10000},
        {17, 10199, 10100},  {17, 12000, 12000}, {17, 12001, 12000}, {17, 12999, 12000},
        {17, 13000, 13000},  {17, 13999, 13000}, {17, 0, 50},        {17, -5, 50},
        {4, 4700, 4500},     {4, 9000, 8000},    {4, 50, 100},       {4, 4099, 3900},
        {4, 4000, 3900},     {4, 4500, 4500},    {37, 7777, 7500},   {37, 99, 100},
        {37, 5099, 5000},    {38, 100, 200},     {38, 5400, 5000},   {5, 6450, 6400},
        {5, 6420, 6400},     {5, 6550, 6500},    {5, 12345, 12000},  {25, 16500, 16000},
        {25, 17999, 17000},  {25, 16099, 16000}, {149, 75, 100},     {149, 26049, 26000},
        {150, 33000, 32000}, {16, 4850, 4800},   {18, 150, 100},     {53, 16001, 16000},
        {99, 25, 50},        {99, 26049, 26000}, {99, 1234, 1200},   {-1, 30000, 26000},
    };
    for (const SnapCase& c : cases) {
        EXPECT_EQ(snapDpi(c.sensor, c.typed), c.stored) << c.sensor << " " << c.typed;
    }
}

// Every value the grid of a sensor keeps is one the encoding sends as its own unit and
// (where the two conversions are inverse) reads back unchanged; and no two kept values
// share a unit, so what the page shows is what the mouse runs.
TEST(DpiRules, SnappedValuesAreExactlyWhatTheEncodingCarries) {
    for (const SensorDpiRule& rule : sensorDpiRules()) {
        // Sensors 0x26 and 0x96 read back one step off by design of their firmware.
        const bool inverse = rule.sensorId != 0x26 && rule.sensorId != 0x96;
        std::set<int> units;
        int previous = -1;
        for (int dpi = rule.dpiMin - 200; dpi <= rule.dpiMax + 200; ++dpi) {
            const int snapped = snapDpi(rule.sensorId, dpi);
            ASSERT_GE(snapped, rule.dpiMin);
            ASSERT_LE(snapped, rule.dpiMax);
            ASSERT_GE(snapped, previous) << "not rising at " << dpi;
            ASSERT_EQ(snapDpi(rule.sensorId, snapped), snapped);
            if (dpi >= rule.dpiMin && dpi <= rule.dpiMax) {
                ASSERT_LE(snapped, dpi) << "rounded up at " << dpi;
            }
            if (snapped != previous) {
                const int unit = protocol::dpiToDeviceCode(rule.sensorId, snapped);
                EXPECT_TRUE(units.insert(unit).second)
                    << "sensor " << rule.sensorId << ": " << snapped << " shares unit " << unit;
                if (inverse) {
                    EXPECT_EQ(protocol::deviceCodeToDpi(rule.sensorId, unit), snapped)
                        << "sensor " << rule.sensorId;
                }
            }
            previous = snapped;
        }
    }
}

TEST(DpiRules, LimitsMatchTheSensorTableTheWorkerSendsWith) {
    for (const SensorDpiRule& rule : sensorDpiRules()) {
        const protocol::SensorRow& row = protocol::sensorRow(rule.sensorId);
        EXPECT_EQ(rule.dpiMin, row.dpiMin) << rule.sensorId;
        // The slider of sensor 0x96 ends at 32000 although the mouse takes up to 38000.
        const int pageMax = rule.sensorId == 0x96 ? 32000 : row.dpiMax;
        EXPECT_EQ(rule.dpiMax, pageMax) << rule.sensorId;
        EXPECT_TRUE(kAnyDpiRange.contains(rule.dpiMin) && kAnyDpiRange.contains(row.dpiMax));
    }
}

struct SliderCase {
    int sensor;
    int dpi;
    int position;
};

TEST(DpiRules, SliderPositionsFollowTheGrid) {
    const SliderCase cases[] = {
        {17, 50, 1},      {17, 10000, 200}, {17, 10100, 201}, {17, 12000, 220}, {17, 13000, 221},
        {17, 24000, 232}, {5, 6400, 128},   {5, 6500, 129},   {25, 16000, 160}, {25, 17000, 161},
        {37, 5000, 50},   {37, 5500, 51},   {38, 200, 1},     {38, 5000, 49},   {38, 5500, 50},
        {4, 3900, 39},    {4, 4500, 40},    {4, 8000, 47},    {149, 100, 2},    {149, 26000, 520},
        {53, 16000, 160}, {99, 800, 16},
    };
    for (const SliderCase& c : cases) {
        EXPECT_EQ(dpiToSliderPosition(c.sensor, c.dpi), c.position) << c.sensor << " " << c.dpi;
        EXPECT_EQ(sliderPositionToDpi(c.sensor, c.position), c.dpi) << c.sensor << " " << c.dpi;
    }
    // Positions outside the slider give the ends of the range, never 0 DPI.
    EXPECT_EQ(sliderPositionToDpi(17, 0), 50);
    EXPECT_EQ(sliderPositionToDpi(38, 0), 200);
    EXPECT_EQ(sliderPositionToDpi(4, 0), 100);
    EXPECT_EQ(sliderPositionToDpi(17, 5000), 24000);
}

// The slider's number of positions the worker hands to the page is the grid's.
TEST(DpiRules, SliderEndsAtTheSensorTablesScale) {
    for (const SensorDpiRule& rule : sensorDpiRules()) {
        // Sensor 0x05's table scale stops one position short of its maximum, 12000.
        const int scale = protocol::sensorRow(rule.sensorId).sliderScale + (rule.sensorId == 5);
        EXPECT_EQ(dpiSliderMaxPosition(rule.sensorId), scale) << rule.sensorId;
    }
}

TEST(DpiRules, EverySliderPositionGivesACarriedValue) {
    for (const SensorDpiRule& rule : sensorDpiRules()) {
        for (int p = 0; p <= dpiSliderMaxPosition(rule.sensorId); ++p) {
            const int dpi = sliderPositionToDpi(rule.sensorId, p);
            ASSERT_TRUE(isCarriedDpi(rule.sensorId, dpi)) << rule.sensorId << " at " << p;
            if (dpi > rule.dpiMin) {
                ASSERT_EQ(dpiToSliderPosition(rule.sensorId, dpi), p) << rule.sensorId;
            }
        }
    }
}

// --- choices -----------------------------------------------------------------------------

TEST(ChoiceRules, ReportRatesAndTheirCapability) {
    ASSERT_EQ(reportRateChoices().size(), 7u);
    for (const ReportRateChoice& rate : reportRateChoices()) {
        EXPECT_TRUE(isReportRateCode(rate.code));
        EXPECT_TRUE(protocol::isReportRateCode(rate.code));
    }
    EXPECT_EQ(offeredReportRates(7).size(), 7u);
    for (const int capability : {0, 4, 5, 6, 8}) {
        ASSERT_EQ(offeredReportRates(capability).size(), 4u);
        EXPECT_EQ(offeredReportRates(capability).back().hertz, 1000);
    }
    for (const int code : {0, 3, 7, 128, -1}) {
        EXPECT_FALSE(isReportRateCode(code)) << code;
    }
}

TEST(ChoiceRules, SleepStagesAndSmallCodes) {
    std::set<int> sleepCodes;
    for (const SleepChoice& choice : sleepChoices()) {
        EXPECT_EQ(choice.code, choice.minutes * 6);
        sleepCodes.insert(choice.code);
    }
    EXPECT_EQ(sleepCodes, (std::set<int>{6, 12, 30, 36, 60, 90, 120, 180}));
    EXPECT_FALSE(isSleepCode(1));

    EXPECT_TRUE(isStageIndex(5, 6));
    EXPECT_FALSE(isStageIndex(3, 3));
    EXPECT_FALSE(isStageIndex(-1, 3));
    EXPECT_FALSE(isStageIndex(0, 7));
    EXPECT_FALSE(isStageIndex(0, 0));
    EXPECT_TRUE(isLiftOffCode(1) && isLiftOffCode(2) && !isLiftOffCode(0) && !isLiftOffCode(3));
}

// --- settings by key -----------------------------------------------------------------------

struct SettingCase {
    const char16_t* key;
    const char16_t* text;
    bool valid;
};

TEST(SettingRules, StoredTextIsCheckedByKey) {
    const SettingCase cases[] = {
        {u"dpi_count", u"1", true},
        {u"dpi_count", u"6", true},
        {u"dpi_count", u"0", false},
        {u"dpi_count", u"7", false},
        {u"dpi_flag", u"9", false},
        {u"dpi_index", u"5", true},
        {u"dpi_index", u"6", false},
        {u"dpi_index", u"-1", false},
        {u"report_rate", u"64", true},
        {u"report_rate_wireless", u"3", false},
        {u"liftoff_height", u"2", true},
        {u"liftoff_height", u"3", false},
        {u"sleep_light", u"36", true},
        {u"sleep_light", u"37", false},
        {u"move_wakeup", u"1", true},
        {u"move_closelight", u"2", false},
        {u"scroll_flag", u"0", true},
        {u"e-sports_flag", u"5", false},
        {u"button_respondtime", u"4", true},
        {u"button_respondtime", u"20", true},
        {u"button_respondtime", u"3", false},
        {u"button_respondtime", u"21", false},
        {u"button_respondtime", u"30", false},
        {u"sensor_flag", u"28", true},
        {u"sensor_flag", u"256", false},
        {u"dpi_group0_rgb", u"16777215", true},
        {u"dpi_group5_rgb", u"16777216", false},
        {u"dpi_group3_rgb", u"-1", false},
        {u"dpi_group2_value", u"38000", true},
        {u"dpi_group2_value", u"38001", false},
        {u"dpi_group0_value", u"0", false},
        // Only the text a page writes passes.
        {u"dpi_count", u" 3", false},
        {u"dpi_count", u"3 ", false},
        {u"dpi_count", u"03", false},
        {u"dpi_count", u"+3", false},
        {u"dpi_count", u"3x", false},
        {u"dpi_count", u"", false},
        {u"dpi_count", u"99999999999", false},
        // Keys without a rule take any text.
        {u"version", u"anything", true},
        {u"dpi_group7_value", u"0", true},
        {u"no_such_key", u"-", true},
    };
    for (const SettingCase& c : cases) {
        EXPECT_EQ(isValidSettingText(QStringView(c.key), QStringView(c.text)), c.valid)
            << QString::fromUtf16(c.key).toStdString() << " = '"
            << QString::fromUtf16(c.text).toStdString() << "'";
    }
}

TEST(SettingRules, EveryDefaultPassesItsOwnRule) {
    int ruled = 0;
    for (const SettingKey& key : kSettingKeys) {
        const QString name = QString::fromLatin1(key.name);
        // A new row's sleep time "1" is no choice of the page; the device's factory
        // values replace it when the profile is created.
        if (name == u"sleep_light") {
            EXPECT_FALSE(isValidSettingText(name, QString::fromLatin1(key.defaultValue)));
            continue;
        }
        EXPECT_TRUE(isValidSettingText(name, QString::fromLatin1(key.defaultValue))) << key.name;
        ruled += hasValueRule(name) ? 1 : 0;
    }
    EXPECT_GT(ruled, 25);
}

TEST(SettingRules, PlainDecimalReadsOnlyWhatPrintfWrites) {
    EXPECT_EQ(plainDecimal(u"0"), 0);
    EXPECT_EQ(plainDecimal(u"-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(plainDecimal(u"2147483647"), std::numeric_limits<int>::max());
    EXPECT_EQ(plainDecimal(u"2147483648"), std::nullopt);
    EXPECT_EQ(plainDecimal(u"-0"), std::nullopt);
    EXPECT_EQ(plainDecimal(u"-"), std::nullopt);
    EXPECT_EQ(plainDecimal(u"１２"), std::nullopt); // full-width digits
}

// --- macros ------------------------------------------------------------------------------

TEST(MacroRules, SettingsAsTheMacroPageWritesThem) {
    struct Case {
        int playType, playTimes, delayType, delayTime;
        bool valid;
    };
    // The play count is one byte for every mouse: 256 and up are refused whatever the type.
    const Case cases[] = {
        {0, 1, 1, 0, true},    {0, 255, 0, 0, true},    {0, 256, 0, 0, false},
        {0, 999, 0, 0, false}, {1, 1, 2, 10, true},     {2, 1, 2, 10000, true},
        {3, 1, 1, 0, false},   {0, 0, 1, 0, false},     {0, 1, 3, 0, false},
        {0, 1, 2, 0, false},   {0, 1, 2, 10001, false}, {0, 1, 1, 10, false},
        {-1, 1, 1, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isValidMacroSettings(c.playType, c.playTimes, c.delayType, c.delayTime), c.valid)
            << c.playType << " " << c.playTimes << " " << c.delayType << " " << c.delayTime;
    }
}

TEST(MacroRules, StepsByType) {
    struct Case {
        int type, value;
        bool valid;
    };
    const Case cases[] = {
        {1, 1, true},   {1, 31000, true}, {1, 0, false},   {1, 31001, false}, {2, 65, true},
        {3, 254, true}, {2, 0, false},    {3, 255, false}, {4, 1, true},      {5, 16, true},
        {4, 3, false},  {5, 32, false},   {0, 1, false},   {6, 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isValidMacroStep(c.type, c.value), c.valid) << c.type << " " << c.value;
    }
}

} // namespace
} // namespace corvane::store
