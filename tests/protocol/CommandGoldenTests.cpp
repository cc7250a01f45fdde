#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CommandFixture.h"
#include "GoldenDump.h"
#include "KnownProfile.h"
#include "hid/TraceCapture.h"
#include "protocol/codec/MacroStream.h"
#include "protocol/commands/ButtonCommands.h"
#include "protocol/commands/LightingCommands.h"
#include "protocol/commands/PerformanceCommands.h"

namespace corvane::protocol::testing {
namespace {

using vm::InterfaceKind;

bool anyLineHas(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

// Each command, sent for the known profile to a wired mouse with sensor 0x11, writes
// exactly the reports of its golden dump.
class CommandBytes : public CommandFixture {
protected:
    void SetUp() override {
        CommandFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        mouse = attachWired();
        start();
        ASSERT_EQ(sensorOfCurrentDevice().sensorId, 0x11);
    }

    std::shared_ptr<vm::WiredMouse> mouse;
    KnownProfile known;
};

TEST_F(CommandBytes, SetDpi) {
    KnownProfile::storePerformance(db(), profile);
    EXPECT_TRUE(setDpi(profile, sensorOfCurrentDevice()));
    expectGolden(mouse->received(), "set_dpi.hex");
}

TEST_F(CommandBytes, SetDpiColors) {
    KnownProfile::storePerformance(db(), profile);
    EXPECT_TRUE(setDpiColors(profile));
    expectGolden(mouse->received(), "set_dpi_colors.hex");
}

TEST_F(CommandBytes, SetReportRate) {
    KnownProfile::storePerformance(db(), profile);
    EXPECT_TRUE(setReportRate(profile));
    expectGolden(mouse->received(), "set_report_rate.hex");
}

TEST_F(CommandBytes, SetSensor) {
    KnownProfile::storePerformance(db(), profile);
    EXPECT_TRUE(setSensor(profile));
    expectGolden(mouse->received(), "set_sensor.hex");
}

TEST_F(CommandBytes, SetPower) {
    KnownProfile::storePerformance(db(), profile);
    EXPECT_TRUE(setPower(profile));
    expectGolden(mouse->received(), "set_power.hex");
}

TEST_F(CommandBytes, SetButtonsWithAMacroOfTwoPackets) {
    known.storeBindings(db(), profile);
    EXPECT_TRUE(setButtons(profile, true, known.macroButton));
    expectGolden(mouse->received(), "set_buttons_with_macro.hex");
    EXPECT_EQ(mouse->macro(known.macroButton),
              buildMacroStream(known.macroButton, known.macroId).bytes)
        << "the mouse put the two packets together again";
}

TEST_F(CommandBytes, SetButtonsForAMacroThatIsGoneSendsOnlyTheTable) {
    known.storeBindings(db(), profile);
    EXPECT_TRUE(setButtons(profile, true, known.goneMacroButton));
    expectGolden(mouse->received(), "set_buttons.hex");
}

TEST_F(CommandBytes, SetButtonsWithoutAPendingMacroSendsOnlyTheTable) {
    known.storeBindings(db(), profile);
    EXPECT_TRUE(setButtons(profile, false, known.macroButton));
    EXPECT_TRUE(setButtons(profile, true, -1));
    const auto received = mouse->received();
    ASSERT_EQ(received.size(), 2u);
    expectGolden({received[0]}, "set_buttons.hex");
    expectGolden({received[1]}, "set_buttons.hex");
}

TEST_F(CommandBytes, SetLightingForModesTwoAndThree) {
    KnownProfile::storeLights(db(), profile);
    EXPECT_EQ(setLighting(profile, 2), LightingResult::Accepted);
    EXPECT_EQ(db().getCurrentLightMode(profile), 2);
    EXPECT_EQ(setLighting(profile, 3), LightingResult::Accepted);
    EXPECT_EQ(db().getCurrentLightMode(profile), 3);
    expectGolden(mouse->received(), "set_lighting.hex");
}

TEST_F(CommandBytes, SetLightingForAModeWithoutARecordSendsNothing) {
    KnownProfile::storeLights(db(), profile);
    ASSERT_EQ(setLighting(profile, 3), LightingResult::Accepted);
    mouse->clearLog();
    EXPECT_EQ(setLighting(profile, 0), LightingResult::NoRecord) << "light_6 was not offered";
    EXPECT_EQ(setLighting(profile, 6), LightingResult::NoRecord);
    EXPECT_TRUE(mouse->received().empty());
    EXPECT_EQ(db().getCurrentLightMode(profile), 3) << "the current record stays";
}

TEST_F(CommandBytes, LightControl) {
    EXPECT_TRUE(lightControl(LightControlParameter::Restore));
    EXPECT_TRUE(lightControl(LightControlParameter::Reset));
    expectGolden(mouse->received(), "light_control.hex");
    EXPECT_EQ(mouse->lastLightControl(), 0x42);
}

TEST_F(CommandBytes, AMacroOfFifteenPacketsIsSentWhole) {
    const int macroId = db().createMacro(QStringLiteral("long"));
    std::vector<store::MacroEvent> events;
    for (int i = 0; i < 101; ++i) { // 101 records: 405 bytes
        events.push_back(KnownProfile::event(
            macroId, i, i % 2 ? MacroEventType::KeyUp : MacroEventType::KeyDown, 65 + i % 26));
    }
    db().insertMacroEvents(events);
    KnownProfile::bind(db(), profile, 2, BindingType::MacroCall, macroId);

    EXPECT_TRUE(setButtons(profile, true, 2));
    const auto received = mouse->received();
    ASSERT_EQ(received.size(), 16u);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(received[i][1], 0x08);
        EXPECT_EQ(received[i][3], (i << 4) | 15) << "packet " << i;
        EXPECT_EQ(received[i][4], 27);
    }
    EXPECT_EQ(received[15][1], 0x09);
    EXPECT_EQ(mouse->macro(2).size(), 405u);
}

TEST_F(CommandBytes, AMacroLongerThanFifteenPacketsSendsNoneOfItButTheTable) {
    const int macroId = db().createMacro(QStringLiteral("too long"));
    std::vector<store::MacroEvent> events;
    for (int i = 0; i < 102; ++i) { // 102 records: 409 bytes
        events.push_back(KnownProfile::event(
            macroId, i, i < 51 ? MacroEventType::KeyDown : MacroEventType::KeyUp, 65 + i % 51));
    }
    db().insertMacroEvents(events);
    KnownProfile::bind(db(), profile, 2, BindingType::MacroCall, macroId);

    hid::testing::TraceCapture trace;
    EXPECT_FALSE(sendMacro(2, macroId));
    EXPECT_TRUE(mouse->received().empty());
    EXPECT_TRUE(anyLineHas(trace.lines(), "0x08")) << "a trace line names the macro command";

    EXPECT_TRUE(setButtons(profile, true, 2));
    const auto received = mouse->received();
    ASSERT_EQ(received.size(), 1u) << "no packet of the macro, only the key table";
    EXPECT_EQ(received[0][1], 0x09);
    EXPECT_TRUE(mouse->macro(2).empty());
}

TEST_F(CommandBytes, AMacroPacketThatFailsDoesNotStopTheNext) {
    known.storeBindings(db(), profile);
    mouse->failNextWrites(1);
    hid::testing::TraceCapture trace;
    EXPECT_FALSE(sendMacro(known.macroButton, known.macroId));
    EXPECT_EQ(mouse->stats(InterfaceKind::Command).writes, 2);
    const auto received = mouse->received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0][3], 0x12) << "the second packet was still sent";
    EXPECT_TRUE(anyLineHas(trace.lines(), "packet 1 of 2"));
}

TEST_F(CommandBytes, ASetThatIsNotAcceptedLeavesATraceLine) {
    KnownProfile::storePerformance(db(), profile);
    KnownProfile::storeLights(db(), profile);
    struct Case {
        const char* code;
        std::function<bool()> send;
    };
    const SensorState sensor = sensorOfCurrentDevice();
    const Case cases[] = {
        {"0x02", [&] { return setReportRate(profile); }},
        {"0x03", [&] { return setDpi(profile, sensor); }},
        {"0x04", [&] { return setDpiColors(profile); }},
        {"0x05", [&] { return setLighting(profile, 2) == LightingResult::Accepted; }},
        {"0x06", [&] { return setSensor(profile); }},
        {"0x07", [&] { return setPower(profile); }},
        {"0x09", [&] { return sendButtons(profile); }},
    };
    for (const Case& c : cases) {
        hid::testing::TraceCapture trace;
        mouse->busyNextReads(50);
        EXPECT_FALSE(c.send()) << c.code;
        EXPECT_TRUE(anyLineHas(trace.lines(), std::string("command ") + c.code)) << c.code;
    }
    mouse->busyNextReads(50);
    EXPECT_EQ(setLighting(profile, 2), LightingResult::NotAccepted);
    EXPECT_EQ(setting(keys::reportRate), 16) << "a failed push keeps the stored values";
}

TEST_F(CommandBytes, NothingIsSentWithoutACurrentDevice) {
    KnownProfile::storePerformance(db(), profile);
    manager().selectType(kType + 1);
    EXPECT_FALSE(setDpi(profile, sensorOfCurrentDevice()));
    EXPECT_FALSE(setButtons(profile, false, -1));
    EXPECT_EQ(mouse->stats(InterfaceKind::Command).writes, 0);
}

} // namespace
} // namespace corvane::protocol::testing
