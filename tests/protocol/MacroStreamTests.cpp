#include <gtest/gtest.h>

#include <vector>

#include "protocol/codec/MacroStream.h"

namespace corvane::protocol::testing {
namespace {

using store::MacroEvent;
using Bytes = std::vector<std::uint8_t>;

MacroEvent step(MacroEventType type, int value) {
    MacroEvent event;
    event.type = static_cast<int>(type);
    event.value = value;
    return event;
}
MacroEvent delay(int ms) {
    return step(MacroEventType::Delay, ms);
}
MacroEvent keyDown(int virtualKey) {
    return step(MacroEventType::KeyDown, virtualKey);
}
MacroEvent keyUp(int virtualKey) {
    return step(MacroEventType::KeyUp, virtualKey);
}

constexpr int kA = 65;

TEST(MacroStream, KeyEventsWithADelayBetweenThem) {
    const MacroStream stream = buildMacroStream(3, std::vector{keyDown(kA), delay(20), keyUp(kA)});
    EXPECT_EQ(stream.records, 2);
    EXPECT_EQ(stream.bytes, (Bytes{3, 0x30, 0x14, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04}));
}

TEST(MacroStream, ModifiersButtonsAndDelays) {
    const std::vector<MacroEvent> events{
        delay(30),    // in front of the first step: joins the first record's delay
        keyDown(160), // left Shift: a modifier event
        delay(300),
        delay(700),                              // delays add up
        keyDown(92),                             // right Windows
        step(MacroEventType::ButtonDown, 0x104), // the low byte is the button mask
        step(MacroEventType::ButtonUp, 4),
        step(static_cast<MacroEventType>(9), 1), // unknown steps are skipped
        keyUp(92),
        keyUp(160),
        delay(0), // a trailing delay is written as it stands
    };
    const MacroStream stream = buildMacroStream(0, events);
    EXPECT_EQ(stream.records, 6);
    EXPECT_EQ(stream.bytes, (Bytes{0x00,                      //
                                   0x20, 0x06, 0x04, 0x02,    // Shift down, 30 + 300 + 700 ms
                                   0x20, 0x01, 0x00, 0x80,    // right Windows down
                                   0x10, 0x01, 0x00, 0x04,    // button down
                                   0x90, 0x01, 0x00, 0x04,    // button up
                                   0xA0, 0x01, 0x00, 0x80,    // right Windows up
                                   0xA0, 0x00, 0x00, 0x02})); // Shift up, trailing 0
}

TEST(MacroStream, DelaysAreHeldToSixteenBits) {
    const MacroStream longDelay =
        buildMacroStream(1, std::vector{keyDown(kA), delay(40000), delay(40000), keyUp(kA)});
    EXPECT_EQ(longDelay.bytes[2], 0xFF);
    EXPECT_EQ(longDelay.bytes[3], 0xFF);
    const MacroStream negative =
        buildMacroStream(1, std::vector{keyDown(kA), delay(-5), keyUp(kA), delay(-5)});
    EXPECT_EQ(negative.bytes[2], 0x01) << "a delay that is not positive waits the minimum";
    EXPECT_EQ(negative.bytes[6], 0x00) << "a negative trailing delay is none";
    EXPECT_EQ(negative.bytes[7], 0x00);
}

TEST(MacroStream, AMacroOfDelaysOnlyHasNoRecords) {
    const MacroStream stream = buildMacroStream(4, std::vector{delay(10), delay(20)});
    EXPECT_EQ(stream.records, 0);
    EXPECT_EQ(stream.bytes, (Bytes{4}));
    EXPECT_EQ(buildMacroStream(4, std::vector<MacroEvent>{}).bytes, (Bytes{4}));
}

TEST(MacroStream, KeysWithoutAUsageAreSentAsZero) {
    const MacroStream stream = buildMacroStream(1, std::vector{keyDown(16), keyUp(16)});
    EXPECT_EQ(stream.bytes, (Bytes{1, 0x30, 0x01, 0x00, 0x00, 0xB0, 0x01, 0x00, 0x00}));
}

TEST(MacroPackets, SixKeyEventsFitOnePacketAndSevenNeedTwo) {
    std::vector<MacroEvent> events(6, keyDown(kA));
    std::vector<ReportPacket> packets;
    ASSERT_TRUE(macroPackets(buildMacroStream(1, events).bytes, packets));
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].packetNumber(), 0x01);
    EXPECT_EQ(packets[0].size(), 25);
    EXPECT_EQ(packets[0].writeLength(), 33u);

    events.push_back(keyUp(kA));
    ASSERT_TRUE(macroPackets(buildMacroStream(1, events).bytes, packets));
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0].packetNumber(), 0x02);
    EXPECT_EQ(packets[0].size(), 27);
    EXPECT_EQ(packets[1].packetNumber(), 0x12);
    EXPECT_EQ(packets[1].size(), 2);
    // The slice is cut inside the last record: its delay's high byte, then its key.
    EXPECT_EQ(packets[1].parameter(4), 0x00);
    EXPECT_EQ(packets[1].parameter(5), 0x04);
}

TEST(MacroPackets, FifteenPacketsIsTheMost) {
    std::vector<ReportPacket> packets;
    const Bytes fits(405, 0x11);
    ASSERT_TRUE(macroPackets(fits, packets));
    ASSERT_EQ(packets.size(), 15u);
    EXPECT_EQ(packets.back().packetNumber(), 0xEF);
    EXPECT_EQ(packets.back().size(), 27);

    const Bytes tooLong(406, 0x11);
    EXPECT_FALSE(macroPackets(tooLong, packets));
    EXPECT_TRUE(packets.empty());

    // In records: 101 fit (405 bytes), 102 do not (409 bytes).
    const std::vector<MacroEvent> most(101, keyDown(kA));
    EXPECT_EQ(buildMacroStream(1, most).bytes.size(), 405u);
    EXPECT_TRUE(macroPackets(buildMacroStream(1, most).bytes, packets));
    const std::vector<MacroEvent> more(102, keyDown(kA));
    EXPECT_FALSE(macroPackets(buildMacroStream(1, more).bytes, packets));
}

} // namespace
} // namespace corvane::protocol::testing
