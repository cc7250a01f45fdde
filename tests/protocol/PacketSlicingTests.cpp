#include <gtest/gtest.h>

#include <numeric>

#include "ProtocolFixture.h"
#include "protocol/transport/PacketSlicing.h"

namespace corvane::protocol::testing {
namespace {

std::vector<std::uint8_t> payloadOf(std::size_t size) {
    std::vector<std::uint8_t> payload(size);
    std::iota(payload.begin(), payload.end(), 1);
    return payload;
}

struct SliceCase {
    std::size_t payloadSize;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> packets; // B2, B3
};

TEST(PacketSlicing, NumbersEachPacketAndSizesItsSlice) {
    const SliceCase cases[] = {
        {1, {{0x01, 1}}},
        {25, {{0x01, 25}}}, // six macro records and the button index
        {27, {{0x01, 27}}},
        {29, {{0x02, 27}, {0x12, 2}}},
        {54, {{0x02, 27}, {0x12, 27}}},
        {55, {{0x03, 27}, {0x13, 27}, {0x23, 1}}},
    };
    for (const SliceCase& c : cases) {
        SCOPED_TRACE(c.payloadSize);
        const auto payload = payloadOf(c.payloadSize);
        std::vector<ReportPacket> packets;
        ASSERT_TRUE(slicePayload(Command::SetMacro, payload, packets));
        ASSERT_EQ(packets.size(), c.packets.size());
        std::vector<std::uint8_t> joined;
        for (std::size_t i = 0; i < packets.size(); ++i) {
            EXPECT_EQ(packets[i].command(), Command::SetMacro);
            EXPECT_EQ(packets[i].packetNumber(), c.packets[i].first);
            EXPECT_EQ(packets[i].size(), c.packets[i].second);
            EXPECT_EQ(packets[i].writeLength(), 33u);
            for (int b = 4; b < 4 + packets[i].size(); ++b) {
                joined.push_back(packets[i].parameter(b));
            }
            for (int b = 4 + packets[i].size(); b <= 30; ++b) {
                EXPECT_EQ(packets[i].parameter(b), 0) << "B" << b;
            }
        }
        EXPECT_EQ(joined, payload);
    }
}

TEST(PacketSlicing, RefusesWhatFifteenPacketsCannotNumber) {
    std::vector<ReportPacket> packets;
    ASSERT_TRUE(slicePayload(Command::SetMacro, payloadOf(405), packets));
    ASSERT_EQ(packets.size(), 15u);
    EXPECT_EQ(packets.back().packetNumber(), 0xEF);
    EXPECT_EQ(packets.back().size(), 27);

    EXPECT_FALSE(slicePayload(Command::SetMacro, payloadOf(406), packets));
    EXPECT_TRUE(packets.empty());
    EXPECT_FALSE(slicePayload(Command::SetMacro, {}, packets));
}

using PacketSlicingOnTheMouse = ProtocolFixture;

TEST_F(PacketSlicingOnTheMouse, TheMouseReassemblesTheSlices) {
    auto wired = attachWired();
    start();
    auto payload = payloadOf(60);
    payload[0] = 4; // the button that plays the macro
    std::vector<ReportPacket> packets;
    ASSERT_TRUE(slicePayload(Command::SetMacro, payload, packets));
    for (ReportPacket& packet : packets) {
        EXPECT_TRUE(packet.transact());
    }
    EXPECT_EQ(wired->macro(4), payload);
}

} // namespace
} // namespace corvane::protocol::testing
