#include <gtest/gtest.h>

#include <array>

#include "ProtocolFixture.h"
#include "protocol/transport/ReportPacket.h"
#include "protocol/transport/Transaction.h"

namespace corvane::protocol::testing {
namespace {

using vm::InterfaceKind;
using Transaction = ProtocolFixture;

TEST_F(Transaction, FailsAtOnceWithoutAReadyManagerOrACurrentInterface) {
    auto wired = attachWired();
    start(false);
    ReportPacket packet(Command::GetDpi);
    EXPECT_FALSE(packet.transact()) << "no scan yet";

    manager().rescan();
    manager().selectType(kType + 1);
    EXPECT_FALSE(packet.transact()) << "no interface of the current type";
    EXPECT_EQ(wired->stats(InterfaceKind::Command).writes, 1) << "only the scan's GetInfo";

    manager().selectType(kType);
    EXPECT_TRUE(packet.transact());
}

TEST_F(Transaction, CommandsGoToTheWiredInterfaceWhenBothAreAttached) {
    auto receiver = attachReceiver();
    auto wired = attachWired();
    start();
    ReportPacket packet(Command::SetReportRate);
    packet.setParameter(4, 0x02);
    ASSERT_TRUE(packet.transact());
    EXPECT_EQ(wired->received().size(), 1u);
    EXPECT_EQ(wired->kept(0x02)->parameters[0], 0x02);
    EXPECT_TRUE(receiver->received().empty());
    EXPECT_EQ(receiver->kept(0x02)->parameters[0], 0x01);
}

TEST_F(Transaction, WritesAreKeptAndReadBack) {
    auto wired = attachWired();
    start();
    const std::uint8_t written[] = {0x26, 0x14, 0x00, 0x14, 0x00, 0xF7, 0x02, 0xF7, 0x02};
    ReportPacket set(Command::SetDpi);
    set.setParameters(4, written);
    ASSERT_TRUE(set.transact());

    ReportPacket get(Command::GetDpi);
    ASSERT_TRUE(get.transact());
    EXPECT_EQ(get.answerByte(0), 0x13);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(get.answerByte(4 + i), written[i]) << "B" << 4 + i;
    }
    EXPECT_EQ(get.answer16(9), 0x02F7);
}

TEST_F(Transaction, FiftyBusyAnswersFailItAndLeaveTheLastReportRead) {
    auto wired = attachWired();
    start();
    wired->busyNextReads(50, 0x01);
    ReportPacket packet(Command::GetReportRate);
    EXPECT_FALSE(packet.transact());
    EXPECT_EQ(wired->stats(InterfaceKind::Command).reads, 50);
    EXPECT_EQ(packet.answerByte(0), 0x12);
    EXPECT_EQ(packet.status(), 0x01);
    EXPECT_EQ(packet.answerByte(4), 0x00) << "the busy report, not the request or the answer";
}

TEST_F(Transaction, AnAnswerAfter49BusyReportsIsAccepted) {
    auto wired = attachWired();
    start();
    wired->busyNextReads(49, 0x03);
    ReportPacket packet(Command::GetReportRate);
    EXPECT_TRUE(packet.transact());
    EXPECT_EQ(packet.answerByte(4), 0x01);
}

TEST_F(Transaction, ARejectedWriteFailsWithoutReading) {
    auto wired = attachWired();
    start();
    wired->failNextWrites(1);
    ReportPacket packet(Command::SetReportRate);
    packet.setParameter(4, 0x02);
    const std::vector<std::uint8_t> before(packet.data(), packet.data() + 65);

    EXPECT_FALSE(packet.transact());
    EXPECT_EQ(wired->stats(InterfaceKind::Command).reads, 0);
    std::vector<std::uint8_t> after(packet.data(), packet.data() + 65);
    after[32] = 0; // the checksum was stored
    EXPECT_EQ(after, before);
    EXPECT_EQ(packet.data()[32], 0x02);
}

TEST_F(Transaction, ALateAnswerIsTakenByTheNextTransaction) {
    auto wired = attachWired();
    start();
    wired->busyNextReads(50);
    ReportPacket first(Command::GetDpi);
    EXPECT_FALSE(first.transact()); // its answer is still waiting on the handle

    ReportPacket second(Command::GetReportRate);
    EXPECT_TRUE(second.transact());
    EXPECT_EQ(second.answerByte(0), 0x13) << "the status byte alone decides";
}

TEST_F(Transaction, AnAnswerLaterThanOneReadTimeoutStillArrives) {
    auto wired = attachWired();
    start();
    wired->delayNextAnswers(1, std::chrono::milliseconds(45));
    ReportPacket packet(Command::GetSensor);
    EXPECT_TRUE(packet.transact());
    EXPECT_EQ(packet.answerByte(0), 0x16);
    EXPECT_EQ(packet.answerByte(4), 0x02);
}

// Each setting goes to the mouse's flash; it answers when the flash is written, and
// takes nothing else meanwhile. A command right after one must wait, not fail.
TEST_F(Transaction, AMouseWritingItsFlashAnswersLateButAnswers) {
    auto wired = attachWired();
    start();
    wired->writeFlashFor(std::chrono::milliseconds(300));
    ReportPacket set(Command::SetReportRate);
    set.setParameter(4, 0x04);
    ASSERT_TRUE(set.transact());
    EXPECT_EQ(set.answerByte(0), 0x02);

    ReportPacket setAgain(Command::SetReportRate);
    setAgain.setParameter(4, 0x08);
    ASSERT_TRUE(setAgain.transact());
    ReportPacket get(Command::GetReportRate);
    ASSERT_TRUE(get.transact());
    EXPECT_EQ(get.answerByte(0), 0x12) << "each answer to its own command";
    EXPECT_EQ(get.answerByte(4), 0x08);
}

TEST_F(Transaction, AMouseThatNeverAnswersFailsItAfterFiftyReads) {
    auto wired = attachWired();
    start();
    wired->dropNextAnswers(1);
    ReportPacket packet(Command::GetPower);
    EXPECT_FALSE(packet.transact());
    EXPECT_EQ(wired->stats(InterfaceKind::Command).reads, 50);
    EXPECT_EQ(packet.data()[1], 0x17) << "nothing was read: the request stays";
}

TEST_F(Transaction, AMouseUnpluggedBetweenWriteAndReadFailsIt) {
    auto wired = attachWired();
    start();
    wired->unplugAfterNextWrite();
    ReportPacket packet(Command::SetButtons);
    EXPECT_FALSE(packet.transact());
    EXPECT_EQ(wired->received().size(), 1u);
    EXPECT_FALSE(wired->isPlugged());

    ReportPacket next(Command::GetDpi);
    EXPECT_FALSE(next.transact());
}

TEST_F(Transaction, ReadInfoAsksOneGivenInterface) {
    auto wired = attachWired();
    start();
    std::array<std::uint8_t, 65> info{};
    ASSERT_TRUE(readInfo(manager().currentHandle(), info.data()));
    EXPECT_EQ((std::string(info.begin() + 4, info.begin() + 8)), "CV01");
    EXPECT_EQ(info[10], 0x11);
    EXPECT_EQ(info[11], 0x20);
    EXPECT_EQ(info[14], 1);
    EXPECT_EQ(wired->received().at(0)[1], 0x10);

    std::array<std::uint8_t, 65> untouched{};
    untouched.fill(0x5A);
    EXPECT_FALSE(readInfo(nullptr, untouched.data()));
    EXPECT_EQ(untouched[4], 0x5A);
}

TEST_F(Transaction, TheRawBufferFormNeedsA33Or65ByteLength) {
    auto wired = attachWired();
    start();
    std::array<std::uint8_t, 65> buffer{};
    buffer[1] = 0x12;
    EXPECT_FALSE(transact(buffer.data(), 64));
    EXPECT_FALSE(transact(nullptr, 33));
    EXPECT_TRUE(wired->received().empty());
    EXPECT_TRUE(transact(buffer.data(), 65));
    EXPECT_EQ(buffer[0], 0x12);
}

} // namespace
} // namespace corvane::protocol::testing
