// The mouse's own reading of what it kept, fed with report bytes written out by hand
// from the command layout (never with the program's encoders).
#include <gtest/gtest.h>

#include "Host.h"

namespace corvane::vm::testing {
namespace {

class HeldSettingsTest : public ::testing::Test {
protected:
    std::shared_ptr<WiredMouse> attach(std::uint8_t sensorCode) {
        WiredMouseConfig config;
        config.mouse.sensorCode = sensorCode;
        return bus.addWiredMouse(config);
    }
    void send(const std::shared_ptr<WiredMouse>& mouse, std::uint8_t code, std::uint8_t size,
              const std::vector<std::uint8_t>& parameters, std::uint8_t packet = 0x01) {
        Host host(bus, mouse->path(InterfaceKind::Command));
        const auto answer = host.exchange(request(code, packet, size, parameters));
        ASSERT_EQ(answer[1], kStatusOk) << "command " << int(code);
    }
    VirtualMouse bus;
};

TEST_F(HeldSettingsTest, StagesRunAtTheDpiOfTheirUnitsOnEachSensor) {
    struct Case {
        std::uint8_t sensor;
        std::uint16_t units;
        int dpi;
    };
    const Case cases[] = {
        {0x11, 0x08, 400},    {0x11, 0x40, 3200},  {0x11, 0xDC, 12000}, {0x11, 0xDE, 14000},
        {0x25, 0x32, 5000},   {0x25, 0x3C, 10000}, {0x04, 0x29, 5000},  {0x35, 0x10, 1600},
        {0x96, 0x2F7, 37950}, {0x95, 0x3F, 3200},  {0x77, 0x01, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "sensor " << int(c.sensor) << ", " << c.units);
        auto mouse = attach(c.sensor);
        const auto lo = static_cast<std::uint8_t>(c.units & 0xFF);
        const auto hi = static_cast<std::uint8_t>(c.units >> 8);
        // Six stages, the third active; stage 1 (X and Y) carries the units under test.
        send(mouse, 0x03, 0x25,
             {0x26, 0x08, 0x00, 0x08, 0x00, lo, hi, lo, hi, 0x10, 0x00, 0x10, 0x00});
        const HeldSettings held = mouse->held();
        EXPECT_EQ(held.stageCount, 6);
        EXPECT_EQ(held.activeStage, 2);
        EXPECT_EQ(held.stageDpi[1], c.dpi);
        mouse->unplug();
    }
}

TEST_F(HeldSettingsTest, PerformanceOptionsInTheirOwnUnits) {
    auto mouse = attach(0x11);
    send(mouse, 0x02, 0x01, {0x02});
    send(mouse, 0x04, 0x12, {0xFF, 0x00, 0x00, 0x12, 0x34, 0x56});
    send(mouse, 0x06, 0x05, {0x02, 0x01, 0x00});
    send(mouse, 0x07, 0x04, {0x12, 0x01, 0x00, 0x0C});
    HeldSettings held = mouse->held();
    EXPECT_EQ(held.reportRateHz, 500);
    EXPECT_EQ(held.stageColour[0], "#FF0000");
    EXPECT_EQ(held.stageColour[1], "#123456");
    EXPECT_EQ(held.stageColour[2], "#000000");
    EXPECT_EQ(held.liftOffMm, 2);
    EXPECT_TRUE(held.angleSnapping);
    EXPECT_FALSE(held.rippleControl);
    EXPECT_EQ(held.sleepSeconds, 180);
    EXPECT_TRUE(held.wakeOnMotion);
    EXPECT_FALSE(held.lightOffWhileMoving);
    EXPECT_EQ(held.responseMs, 12);

    send(mouse, 0x02, 0x01, {0x40});
    send(mouse, 0x06, 0x05, {0x01, 0x00, 0x01});
    held = mouse->held();
    EXPECT_EQ(held.reportRateHz, 8000);
    EXPECT_EQ(held.liftOffMm, 1);
    EXPECT_FALSE(held.angleSnapping);
    EXPECT_TRUE(held.rippleControl);
}

TEST_F(HeldSettingsTest, ButtonsByTheFunctionTheyGive) {
    auto mouse = attach(0x11);
    send(mouse, 0x09, 0x0F,
         {0x10, 0x02, 0x00, 0x10, 0x01, 0x00, 0x70, 0x01, 0x06, 0x70, 0x02, 0x00, 0x80, 0xE9,
          0x00, 0x40, 0x02, 0x00, 0x90, 0x26, 0x05, 0x60, 0x00, 0x00, 0x20, 0xFF, 0x00});
    const std::array<std::string, 9> expected = {"mouse right", "mouse left",      "key Ctrl+C",
                                                 "key Shift",   "media volume up", "DPI +",
                                                 "macro 6 x5",  "disabled",        "wheel down"};
    EXPECT_EQ(mouse->held().buttons, expected);

    const struct {
        std::array<std::uint8_t, 3> entry;
        const char* function;
    } entries[] = {
        {{0x10, 0x08, 0x00}, "mouse back"},
        {{0x10, 0x10, 0x00}, "mouse forward"},
        {{0x40, 0x01, 0x00}, "DPI cycle"},
        {{0x70, 0x05, 0x3E}, "key Ctrl+Alt+F5"},
        {{0x80, 0x83, 0x01}, "media media player"},
        {{0x90, 0x13, 0x00}, "macro 3 while held"},
        {{0x90, 0x43, 0x00}, "macro 3 until pressed again"},
        {{0x30, 0x32, 0x03}, "repeat 50/3"},
        {{0x70, 0x00, 0x28}, "key Enter"},
        {{0x60, 0x04, 0x00}, "device function 0x04"},
    };
    for (const auto& e : entries)
        EXPECT_EQ(readButtonFunction(e.entry[0], e.entry[1], e.entry[2]), e.function);
}

TEST_F(HeldSettingsTest, LightingWithTheColoursOfItsEffect) {
    auto mouse = attach(0x11);
    send(mouse, 0x05, 0x18,
         {0x02, 0x32, 0x07, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF});
    HeldSettings::Lighting lighting = mouse->held().lighting;
    EXPECT_EQ(lighting.mode, 2);
    EXPECT_EQ(lighting.brightness, 3);
    EXPECT_EQ(lighting.speed, 2);
    EXPECT_EQ(lighting.colours,
              (std::vector<std::string>{"#FF0000", "#00FF00", "#0000FF", "#000000", "#000000",
                                        "#000000", "#000000"}));

    send(mouse, 0x05, 0x05, {0x03, 0xF1, 0x12, 0x34, 0x56});
    lighting = mouse->held().lighting;
    EXPECT_EQ(lighting.mode, 3);
    EXPECT_EQ(lighting.brightness, 15);
    EXPECT_EQ(lighting.speed, 1);
    EXPECT_EQ(lighting.colours, std::vector<std::string>{"#123456"});

    send(mouse, 0x05, 0x02, {0x00, 0x20});
    EXPECT_TRUE(mouse->held().lighting.colours.empty());
}

TEST_F(HeldSettingsTest, MacroStepsWithTheirDelays) {
    auto mouse = attach(0x11);
    // Button 3 plays: Ctrl down, C down 20 ms, C up, Ctrl up, then a click of the back
    // button with a 300 ms pause, then Enter down, over two packets.
    const std::vector<std::uint8_t> stream = {
        0x03, 0x20, 0x01, 0x00, 0x01, 0x30, 0x14, 0x00, 0x06, 0xB0, 0x01, 0x00, 0x06, 0xA0, 0x01,
        0x00, 0x01, 0x10, 0x2C, 0x01, 0x08, 0x90, 0x00, 0x00, 0x08, 0x30, 0x01, 0x00, 0x28};
    send(mouse, 0x08, 27, {stream.begin(), stream.begin() + 27}, 0x02);
    send(mouse, 0x08, 2, {stream.begin() + 27, stream.end()}, 0x12);
    const std::vector<MacroStep> expected = {
        {"Ctrl down", 1},          {"C down", 20},        {"C up", 1},       {"Ctrl up", 1},
        {"back button down", 300}, {"back button up", 0}, {"Enter down", 1},
    };
    EXPECT_EQ(mouse->heldMacro(3), expected);
    EXPECT_TRUE(mouse->heldMacro(2).empty());
}

} // namespace
} // namespace corvane::vm::testing
