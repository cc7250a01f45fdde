#include <gtest/gtest.h>

#include <numeric>

#include "ProtocolFixture.h"
#include "protocol/transport/ReportPacket.h"

namespace corvane::protocol::testing {
namespace {

using vm::InterfaceKind;

struct RequestCase {
    std::uint8_t code;
    std::size_t writeLength;
    std::uint8_t packetNumber;
    std::uint8_t size;
    std::vector<std::uint8_t> parameters; // from B4
};

std::vector<std::uint8_t> sequence(std::size_t count, std::uint8_t first) {
    std::vector<std::uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

// Every command as the mouse must receive it.
const std::vector<RequestCase>& requestCases() {
    static const std::vector<RequestCase> cases{
        {0x02, 65, 0x01, 0x01, {0x08}},
        {0x03, 33, 0x01, 0x25, sequence(25, 0xE0)}, // B4..B28, B29..B30 zero
        {0x04, 65, 0x01, 0x12, sequence(18, 0x40)},
        {0x05, 65, 0x01, 0x18, sequence(24, 0x90)},
        {0x06, 65, 0x01, 0x05, {0x02, 0x01, 0x00}},
        {0x07, 65, 0x01, 0x04, {0x0A, 0x01, 0x01, 0x04}},
        {0x08, 33, 0x01, 0x05, {0x03, 0x30, 0x14, 0x00, 0x04}},
        {0x09, 33, 0x01, 0x0F, sequence(27, 0xF0)},
        {0x0E, 33, 0x01, 0x04, {0x42}},
        {0x0F, 33, 0x01, 0x01, {0xFF}},
        {0x10, 33, 0x00, 0x00, {}},
        {0x11, 33, 0x00, 0x00, {}},
        {0x12, 33, 0x00, 0x00, {}},
        {0x13, 33, 0x00, 0x00, {}},
        {0x14, 33, 0x00, 0x00, {}},
        {0x15, 33, 0x00, 0x00, {}},
        {0x16, 33, 0x00, 0x00, {}},
        {0x17, 33, 0x00, 0x00, {}},
        {0x20, 33, 0x00, 0x00, {}},
    };
    return cases;
}

using ReportPacketRequest = ProtocolFixture;

TEST_F(ReportPacketRequest, EveryCommandReachesTheMouseInRequestFormWithItsChecksum) {
    auto receiver = attachReceiver(); // answers every command, GetReceiverVersion included
    start();
    ASSERT_EQ(allCommands().size(), requestCases().size());

    for (const RequestCase& c : requestCases()) {
        SCOPED_TRACE(::testing::Message() << "command 0x" << std::hex << int(c.code));
        const CommandInfo* info = findCommand(c.code);
        ASSERT_NE(info, nullptr);
        ReportPacket packet(info->code);
        EXPECT_EQ(packet.writeLength(), c.writeLength);
        EXPECT_EQ(packet.packetNumber(), c.packetNumber);
        packet.setSize(c.size);
        ASSERT_TRUE(packet.setParameters(ReportPacket::kFirstParameter, c.parameters));

        receiver->clearLog();
        EXPECT_TRUE(packet.transact());
        EXPECT_EQ(packet.answerByte(0), c.code);
        EXPECT_EQ(packet.status(), 0x00);

        std::vector<std::uint8_t> expected(65, 0);
        expected[1] = c.code;
        expected[3] = c.packetNumber;
        expected[4] = c.size;
        std::copy(c.parameters.begin(), c.parameters.end(), expected.begin() + 5);
        expected[32] = static_cast<std::uint8_t>(
            std::accumulate(c.parameters.begin(), c.parameters.end(), 0u) & 0xFF);
        ASSERT_EQ(receiver->received().size(), 1u);
        EXPECT_EQ(receiver->received()[0], expected);
    }
}

TEST_F(ReportPacketRequest, AShortWriteReachesA65ByteInterfacePaddedWithZeros) {
    auto wired = attachWired();
    start();
    ReportPacket packet(Command::SetDpi);
    packet.setParameters(4, sequence(25, 1));
    ASSERT_TRUE(packet.transact());
    const std::vector<std::uint8_t> received = wired->received().at(0);
    ASSERT_EQ(received.size(), 65u);
    EXPECT_EQ(received[0], 0x00);
    EXPECT_EQ(received[30], 0x00) << "B29";
    EXPECT_EQ(received[31], 0x00) << "B30";
    EXPECT_EQ(received[32], (25 * 26 / 2) & 0xFF);
    EXPECT_EQ(std::vector<std::uint8_t>(received.begin() + 33, received.end()),
              std::vector<std::uint8_t>(32, 0));
}

TEST(ReportPacket, ChecksumCoversB4ToB30Only) {
    ReportPacket packet(Command::SetPower);
    EXPECT_EQ(packet.checksum(), 0x00) << "all-zero parameters";
    packet.setParameter(4, 0xFF);
    packet.setParameter(30, 0x02);
    packet.setSize(0x80);
    EXPECT_EQ(packet.checksum(), 0x01);
    packet.storeChecksum();
    EXPECT_EQ(packet.data()[32], 0x01);
}

TEST(ReportPacket, ACodeOutsideTheTableIsAPlainShortWrite) {
    const ReportPacket packet(static_cast<Command>(0x55));
    EXPECT_EQ(packet.data()[1], 0x55);
    EXPECT_EQ(packet.packetNumber(), 0x01);
    EXPECT_EQ(packet.size(), 0x00);
    EXPECT_EQ(packet.writeLength(), 33u);
}

TEST(ReportPacket, ParametersStayWithinB4ToB30) {
    ReportPacket packet(Command::SetButtons);
    EXPECT_FALSE(packet.setParameter(3, 1));
    EXPECT_FALSE(packet.setParameter(31, 1));
    EXPECT_FALSE(packet.setParameter16(30, 0x1234));
    EXPECT_FALSE(packet.setParameters(5, sequence(27, 1)));
    EXPECT_TRUE(packet.setParameters(4, sequence(27, 1)));
    EXPECT_TRUE(packet.setParameter16(5, 0x02F7));
    EXPECT_EQ(packet.parameter(5), 0xF7);
    EXPECT_EQ(packet.parameter(6), 0x02);
    EXPECT_EQ(packet.data()[1], 0x09) << "the command byte is untouched";
    EXPECT_EQ(packet.data()[4], 0x0F) << "the size byte is untouched";
    EXPECT_FALSE(packet.setWriteLength(64));
    EXPECT_EQ(packet.writeLength(), 33u);
}

} // namespace
} // namespace corvane::protocol::testing
