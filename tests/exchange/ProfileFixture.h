#pragma once

#include "ExchangeFixture.h"

#include "exchange/ProfileFile.h"
#include "store/ButtonBinding.h"

namespace corvane::exchange::test {

inline const QStringList kBindingColumns = {
    QStringLiteral("fn_layer"),     QStringLiteral("key_code"),     QStringLiteral("layout_value"),
    QStringLiteral("layout_desc"),  QStringLiteral("macro_type"),   QStringLiteral("macro_value"),
    QStringLiteral("macro_value2"), QStringLiteral("macro_value3"), QStringLiteral("macro_desc")};
inline const QStringList kLightColumns = {
    QStringLiteral("name"),         QStringLiteral("mode"),         QStringLiteral("brightness"),
    QStringLiteral("speed"),        QStringLiteral("direction"),    QStringLiteral("colorful"),
    QStringLiteral("colorindex"),   QStringLiteral("color_value1"), QStringLiteral("color_value2"),
    QStringLiteral("color_value3"), QStringLiteral("color_value4"), QStringLiteral("color_value5"),
    QStringLiteral("color_value6"), QStringLiteral("color_value7"), QStringLiteral("config_func"),
    QStringLiteral("reserved"),     QStringLiteral("status")};
// The settings a profile file carries.
inline const QString kFileSettings = QStringLiteral(
    "'dpi_flag','dpi_index','dpi_count','dpi_group0_value','dpi_group1_value',"
    "'dpi_group2_value','dpi_group3_value','dpi_group4_value','dpi_group5_value',"
    "'dpi_group0_rgb','dpi_group1_rgb','dpi_group2_rgb','dpi_group3_rgb','dpi_group4_rgb',"
    "'dpi_group5_rgb','button_respondtime','report_rate','sensor_flag','liftoff_height',"
    "'scroll_flag','e-sports_flag','sleep_light','move_wakeup','move_closelight'");

// Every stored row of one profile that a profile file can carry.
struct ProfileRows {
    QStringList bindings;
    QStringList lights;
    QStringList settings;
    QStringList allSettings;

    friend bool operator==(const ProfileRows&, const ProfileRows&) = default;
};
inline void PrintTo(const ProfileRows& rows, std::ostream* out) {
    *out << rows.bindings.join(u'\n').toStdString() << "\n--\n"
         << rows.lights.join(u'\n').toStdString() << "\n--\n"
         << rows.settings.join(u'\n').toStdString();
}

class ProfileTest : public ExchangeTest {
protected:
    // Import options of a mouse that takes every binding (which ones a mouse takes is
    // decided above the file layer and tested there).
    static ProfileImportOptions takingEveryBinding() {
        ProfileImportOptions options;
        options.takesBinding = [](const store::ButtonBinding&) { return true; };
        return options;
    }

    ProfileRows rowsOf(int profile, const QString& store = QStringLiteral("source"),
                       const QStringList& bindingColumns = kBindingColumns) const {
        const QString of = QStringLiteral("WHERE profile = %1").arg(profile);
        return {tableRows(dbPath(store), QStringLiteral("t_key_macro_data"), bindingColumns,
                          of + QStringLiteral(" ORDER BY key_code")),
                tableRows(dbPath(store), QStringLiteral("t_light_data"), kLightColumns,
                          of + QStringLiteral(" ORDER BY mode")),
                tableRows(dbPath(store), QStringLiteral("t_configdata"),
                          {QStringLiteral("key"), QStringLiteral("value")},
                          of + QStringLiteral(" AND key IN (%1) ORDER BY key").arg(kFileSettings)),
                tableRows(dbPath(store), QStringLiteral("t_configdata"),
                          {QStringLiteral("key"), QStringLiteral("value")},
                          of + QStringLiteral(" ORDER BY key"))};
    }

    static store::ButtonBinding binding(int profile, int keyCode, int type, int value,
                                        int value2 = 0, int value3 = 0, const QString& desc = {}) {
        store::ButtonBinding b;
        b.profile = profile;
        b.keyCode = keyCode;
        b.macroType = type;
        b.macroValue = value;
        b.macroValue2 = value2;
        b.macroValue3 = value3;
        b.macroDesc = desc.isEmpty() ? QStringLiteral("key %1").arg(keyCode) : desc;
        return b;
    }

    static void set(int profile, const char16_t* key, int value) {
        ASSERT_TRUE(db().setSetting(profile, QStringView(key), QString::number(value)));
    }

    // A profile that uses every field the file carries, each away from its default.
    static void fillProfile(int profile, int macroId, const QString& text = QStringLiteral("x")) {
        const store::ButtonBinding bindings[] = {
            binding(profile, 0, 1, 1, 0, 0, text),       // mouse function
            binding(profile, 1, 2, 0x04, 0x02, 0),       // keyboard key with a modifier
            binding(profile, 2, 3, 0xE9, 0, 0),          // media function
            binding(profile, 3, 4, macroId, 0, 0, text), // macro
            binding(profile, 4, 5, 2, 0, 0),             // DPI function
            binding(profile, 5, 6, 1, 0, 0),             // device function
            binding(profile, 6, 7, 1, 30, 5),            // repeat
            binding(profile, 7, 8, 3, 0, 0),             // system function
            binding(profile, 8, 9, 1, 0, 0),             // disabled
        };
        for (const store::ButtonBinding& b : bindings) {
            ASSERT_GT(db().saveBinding(b), 0);
        }
        for (int mode = 0; mode <= 5; ++mode) {
            store::LightEffect light;
            if (!db().getLight(profile, mode, light)) {
                continue;
            }
            light.brightness = mode % 5;
            light.speed = 4 - mode % 5;
            light.direction = mode + 1;
            light.colorful = mode % 2;
            light.colorIndex = 6 - mode;
            for (int c = 0; c < 7; ++c) {
                light.colorValues[c] = 0x010203 * (mode + 1) + c;
            }
            ASSERT_TRUE(db().updateLight(mode, light));
        }
        ASSERT_TRUE(db().setCurrentLightMode(profile, 3));
        const std::pair<const char16_t*, int> settings[] = {
            {u"dpi_flag", 4},
            {u"dpi_index", 2},
            {u"dpi_count", 4},
            {u"dpi_group0_value", 400},
            {u"dpi_group1_value", 850},
            {u"dpi_group2_value", 1600},
            {u"dpi_group3_value", 3200},
            {u"dpi_group4_value", 12000},
            {u"dpi_group5_value", 24000},
            {u"dpi_group0_rgb", 1},
            {u"dpi_group1_rgb", 2},
            {u"dpi_group2_rgb", 3},
            {u"dpi_group3_rgb", 4},
            {u"dpi_group4_rgb", 5},
            {u"dpi_group5_rgb", 16777215},
            {u"button_respondtime", 12},
            {u"report_rate", 16},
            {u"sensor_flag", 12},
            {u"liftoff_height", 2},
            {u"scroll_flag", 0},
            {u"e-sports_flag", 1},
            {u"sleep_light", 90},
            {u"move_wakeup", 0},
            {u"move_closelight", 0},
        };
        for (const auto& [key, value] : settings) {
            set(profile, key, value);
        }
    }
};

} // namespace corvane::exchange::test
