// Each command run by corvanectl on its own (no window) against the virtual mice: what
// it leaves in the store and what the mouse then runs with, in the virtual firmware's
// own reading ("stage 2 dpi" = "1600", "button index 3" = "media mute"). Every run
// starts a new virtual mouse, so each expectation differs from what a new mouse holds
// where the command allows: stages 400, 800, 1600, 3200, 4800 and 6400 of which four
// are used, the second active; red, green, blue, yellow, cyan, magenta; 1000 Hz; 2 mm
// with angle snapping; 300 s sleep with wake on motion; 8 ms; lighting mode 4; the five
// mouse buttons and DPI cycle.
#include "CliProcess.h"

#include <ostream>

namespace corvane::cli::test {
namespace {

struct CommandCase {
    const char* name;
    std::vector<QStringList> setup; // run first; their reports are not looked at
    QStringList command;
    std::vector<std::pair<const char*, const char*>> settings; // of profile 1
    const char* query;                                         // rows it must give; may be null
    QStringList queryRows;
    std::vector<int> commands; // the write commands the mouse receives, in order
    bool commandsArePrefix;    // only the first ones are fixed
    // What the mouse runs with afterwards; with no commands, nothing reached it.
    std::vector<std::pair<const char*, const char*>> holds = {};
};

QString dataFile(const char* name) {
    return QStringLiteral(CORVANE_TEST_DATA_DIR "/") + QLatin1String(name);
}

const QString kBinding =
    QStringLiteral("SELECT macro_type, macro_value, macro_value2, macro_desc FROM t_key_macro_data "
                   "WHERE profile = 1 AND key_code = %1");

// The functions are those the button page's menus store for the same choices (its first
// mouse, DPI and device items, its tenth system item).
// The first mouse of the demo set has sensor 0x11 (DPI / 50 in units) and the device
// file's factory values: stages 400, 800, 1600, 3200, 6400, 12000, stage 2 active,
// 1000 Hz, sleep 30 (5 min), response time 8; sensor_flag keeps its default 53.
std::vector<CommandCase> cases() {
    return {
        {
            "SetActiveStageDpi",
            {},
            {"set", "dpi", "1600"},
            {{"dpi_group1_value", "1600"}},
            nullptr,
            {},
            {0x03},
            false,
            {{"active stage", "2"}, {"stage 2 dpi", "1600"}, {"stage 6 dpi", "12000"}},
        },
        {
            "SetStagesCountAndActive",
            {},
            {"set", "dpi", "--stages", "400,800", "--count", "3", "--active", "2"},
            {{"dpi_count", "3"}, {"dpi_index", "1"}, {"dpi_group1_value", "800"}},
            nullptr,
            {},
            {0x03},
            false,
            {{"stages", "3"},
             {"active stage", "2"},
             {"stage 1 dpi", "400"},
             {"stage 2 dpi", "800"},
             {"stage 6 dpi", "12000"}},
        },
        {
            "SetStageColour",
            {},
            {"set", "dpi", "--stage", "3", "--colour", "#FF8000"},
            {{"dpi_group2_rgb", "33023"}},
            nullptr,
            {},
            {0x04},
            false,
            {{"stage 3 colour", "#FF8000"}},
        },
        {
            "SetRate",
            {},
            {"set", "rate", "500"},
            {{"report_rate", "2"}, {"report_rate_wireless", "2"}},
            nullptr,
            {},
            {0x02},
            false,
            {{"rate", "500 Hz"}},
        },
        {
            "SetLiftOff",
            {{"set", "lod", "2"}},
            {"set", "lod", "1"},
            {{"liftoff_height", "1"}},
            nullptr,
            {},
            {0x06},
            false,
            {{"lift-off", "1 mm"}},
        },
        {
            "SetSensorOptions",
            {},
            {"set", "sensor", "angle-snapping=off", "ripple-control=on"},
            {{"sensor_flag", "20"}},
            nullptr,
            {},
            {0x06},
            false,
            {{"angle snapping", "off"}, {"ripple control", "on"}, {"lift-off", "1 mm"}},
        },
        {
            "SetSleep",
            {},
            {"set", "sleep", "10", "--wake-on-move", "off"},
            {{"sleep_light", "60"}, {"move_wakeup", "0"}},
            nullptr,
            {},
            {0x07},
            false,
            {{"sleep", "600 s"}, {"wake on motion", "off"}},
        },
        {
            "SetResponseTime",
            {},
            {"set", "respond", "12"},
            {{"button_respondtime", "12"}},
            nullptr,
            {},
            {0x07},
            false,
            {{"response time", "12 ms"}},
        },
        {
            "SetLighting",
            {},
            {"set", "lighting", "steady", "--colour", "#00FF00", "--brightness", "3"},
            {},
            "SELECT brightness, color_value1, status FROM t_light_data WHERE profile=1 AND mode=3",
            {"3|65280|1"},
            {0x05},
            false,
            {{"lighting mode", "3"}, {"lighting brightness", "3"}, {"lighting colours", "#00FF00"}},
        },
        {
            "BindMedia",
            {},
            {"bind", "back", "media:mute"},
            {},
            "%3",
            {"3|8|0|Mute"},
            {0x09},
            false,
            {{"button index 3", "media mute"}},
        },
        {
            "BindKeyCombination",
            {},
            {"bind", "forward", "key:ctrl+c"},
            {},
            "%4",
            {"2|6|1|Ctrl + C"},
            {0x09},
            false,
            {{"button index 4", "key Ctrl+C"}},
        },
        {
            "BindRepeat",
            {},
            {"bind", "back", "repeat:3,50"},
            {},
            "%3",
            {"7|50|3|Rapid fire"},
            {0x09},
            false,
            {{"button index 3", "repeat 50/3"}},
        },
        {
            "BindDisable",
            {},
            {"bind", "dpi", "disable"},
            {},
            "%5",
            {"9|1|0|Disabled"},
            {0x09},
            false,
            {{"button index 5", "disabled"}},
        },
        {
            "BindMouseFunction",
            {},
            {"bind", "back", "mouse:right"},
            {},
            "%3",
            {"1|3|0|Right click"},
            {0x09},
            false,
            {{"button index 3", "mouse right"}},
        },
        {
            "BindSystemFunction",
            {},
            {"bind", "forward", "system:cut"},
            {},
            "%4",
            {"8|11|0|Cut"},
            {0x09},
            false,
            {{"button index 4", "key Ctrl+X"}},
        },
        {
            "BindDpiFunction",
            {},
            {"bind", "middle", "dpi:up"},
            {},
            "%2",
            {"5|1|0|DPI +"},
            {0x09},
            false,
            {{"button index 2", "DPI +"}},
        },
        {
            "BindDeviceFunction",
            {},
            {"bind", "dpi", "device:rate"},
            {},
            "%5",
            {"6|2|0|Report rate switch"},
            {0x09},
            false,
            {{"button index 5", "device function 0x01"}},
        },
        {
            "UnbindGivesTheDefaultBack",
            {{"bind", "back", "media:mute"}},
            {"unbind", "back"},
            {},
            "%3",
            {},
            {0x09},
            false,
            {{"button index 3", "mouse back"}},
        },
        // The macro's steps go out before the key table.
        {"BindMacro",
         {{"macro", "import", dataFile("reload.xml")}},
         {"bind", "back", "macro:Reload"},
         {},
         "%3",
         {"4|1|0|Reload"},
         {0x08, 0x09},
         false,
         {{"button index 3", "macro 3 x1"}, {"macro 3", "A down 20 ms, A up 1 ms"}}},
        {
            "ProfileSwitchPushesTheProfile",
            {},
            {"profile", "switch", "2"},
            {},
            "SELECT profile FROM t_profile_data WHERE status = 1",
            {"2"},
            {0x09, 0x03, 0x04, 0x02, 0x06, 0x07},
            false,
            {{"stages", "6"}, {"stage 5 dpi", "6400"}, {"stage 6 dpi", "12000"}},
        },
        {
            "ProfileRenameSendsNothing",
            {},
            {"profile", "rename", "3", "Work"},
            {},
            "SELECT name FROM t_profile_data WHERE profile = 3",
            {"Work"},
            {},
            false,
        },
        {
            "ProfileImportReplacesTheCurrentProfileAndPushesIt",
            {{"set", "rate", "500"},
             {"profile", "export", "1", "saved.xml"},
             {"set", "rate", "250"}},
            {"profile", "import", "saved.xml"},
            {{"report_rate", "2"}},
            "SELECT name FROM t_profile_data WHERE profile = 1",
            {"saved"},
            {0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07},
            false,
            {{"rate", "500 Hz"}},
        },
        {
            "MacroImportAddsTheMacro",
            {},
            {"macro", "import", dataFile("reload.xml")},
            {},
            "SELECT name, play_type, play_times FROM t_macro_data",
            {"Reload|0|1"},
            {},
            false,
        },
        {
            "ResetRestoresTheFactoryValues",
            {{"set", "rate", "500"}},
            {"reset", "--yes"},
            {{"report_rate", "1"}},
            nullptr,
            {},
            {0x0F, 0x0E},
            true,
            {{"rate", "1000 Hz"}},
        },
    };
}

// Names the case in test output by its label, not by its bytes.
void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class Commands : public CliProcess, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(Commands, ChangeTheStoreAndReachTheMouse) {
    const CommandCase& c = GetParam();
    for (const QStringList& step : c.setup) {
        const Outcome setup = corvanectl(step);
        ASSERT_EQ(setup.exitCode, 0) << step.join(u' ').toStdString() << setup.err.toStdString();
    }
    const std::size_t mark = logLines(cliLog());
    forgetWhatTheMouseHolds();

    const Outcome run = corvanectl(c.command);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty() && run.err.isEmpty()) << "silent on success";

    for (const auto& [key, value] : c.settings)
        EXPECT_EQ(setting(1, key), QLatin1String(value)) << key;
    if (c.query) {
        QString query = QLatin1String(c.query);
        if (query.startsWith(u'%'))
            query = kBinding.arg(query.mid(1));
        EXPECT_EQ(rows(query), c.queryRows);
    }
    const std::vector<LoggedReport> writes = writesToMouse(cliLog(), mark);
    std::vector<int> commands;
    for (const LoggedReport& report : writes)
        commands.push_back(report.command());
    if (c.commandsArePrefix)
        commands.resize(std::min(commands.size(), c.commands.size()));
    EXPECT_EQ(commands, c.commands);
    if (c.commands.empty())
        EXPECT_TRUE(mouseHolds().empty()) << "the mouse took a command";
    else
        expectMouseHolds(c.holds);
}

INSTANTIATE_TEST_SUITE_P(Corvanectl, Commands, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<CommandCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace corvane::cli::test
