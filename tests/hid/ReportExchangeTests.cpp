#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <deque>

#include "hid/HeldNotices.h"
#include "hid/ReportExchange.h"

namespace corvane::hid {
namespace {

// A HID layer that plays back the reads it was given.
class ScriptedHidApi final : public HidApi {
public:
    struct Handle final : HidDevice {};

    int init() override { return 0; }
    int exit() override { return 0; }
    std::vector<HidDeviceInfo> enumerate(std::uint16_t, std::uint16_t) override { return {}; }
    HidDevice* open_path(const std::string&) override { return nullptr; }
    int write(HidDevice*, const std::uint8_t* data, std::size_t length) override {
        written.emplace_back(data, data + length);
        return writeResult < 0 ? writeResult : static_cast<int>(length);
    }
    int read_timeout(HidDevice*, std::uint8_t* data, std::size_t length, int) override {
        ++readCount;
        if (reads.empty()) {
            return 0;
        }
        const std::vector<std::uint8_t> report = reads.front();
        reads.pop_front();
        const std::size_t n = std::min(length, report.size());
        std::copy(report.begin(), report.begin() + n, data);
        return static_cast<int>(n);
    }
    void close(HidDevice*) override {}

    Channel channel(ReportLayout layout = {}) {
        return Channel{*this, &handle, layout, &held, nullptr};
    }

    int writeResult = 0; // < 0: the write fails
    std::deque<std::vector<std::uint8_t>> reads;
    std::vector<std::vector<std::uint8_t>> written;
    int readCount = 0;
    Handle handle;
    HeldNotices held;
};

constexpr ReportLayout kUnnumbered64{true, false, 0, 64, 0, 64};
constexpr ReportLayout kUnnumbered32{true, false, 0, 32, 0, 32};
constexpr ReportLayout kNumbered{true, true, 0x03, 63, 0x03, 63};

std::array<std::uint8_t, kReportBufferSize> request(std::uint8_t code, std::uint8_t fill) {
    std::array<std::uint8_t, kReportBufferSize> buffer{};
    buffer[1] = code;
    for (std::size_t i = kRequestFirstParameterIndex; i <= kRequestLastParameterIndex; ++i) {
        buffer[i] = fill;
    }
    storeRequestChecksum(buffer.data());
    return buffer;
}

TEST(ReportExchange, ChecksumIsTheSumOfTheParametersModulo256) {
    auto buffer = request(0x03, 0x00);
    EXPECT_EQ(buffer[kRequestChecksumIndex], 0x00);
    buffer = request(0x03, 0x10); // 27 * 16 = 432
    EXPECT_EQ(buffer[kRequestChecksumIndex], 432 % 256);
    buffer[4] = 0x77;  // the size byte is not summed
    buffer[33] = 0x55; // nor anything past B30
    EXPECT_EQ(requestChecksum(buffer.data()), 432 % 256);
}

TEST(ReportExchange, AReportTooShortToCarryAStatusIsNotAccepted) {
    ScriptedHidApi api;
    api.reads = {{0x13}, {0x13, 0x00, 0x07}};
    auto buffer = request(0x13, 0xEE);

    ASSERT_TRUE(exchangeReport(api.channel(), buffer.data(), kShortReportLength));
    EXPECT_EQ(api.readCount, 2);
    EXPECT_EQ(buffer[0], 0x13);
    EXPECT_EQ(buffer[2], 0x07);
    for (std::size_t i = 3; i < kShortReportLength; ++i) {
        EXPECT_EQ(buffer[i], 0) << "byte " << i << " was not part of the answer";
    }
}

TEST(ReportExchange, NoticesArrivingBeforeTheAnswerAreHeldNotTakenForIt) {
    ScriptedHidApi api;
    // An unlink notice carries B1 = 0 and would pass for an accepted answer.
    api.reads = {{0xC0, 0x00, 0x00, 0x00}, {0xC2, 0x24}, {0x05, 0x00, 0x00, 0x00, 0x42}};
    auto buffer = request(0x05, 0);

    ASSERT_TRUE(exchangeReport(api.channel(), buffer.data(), kShortReportLength));
    EXPECT_EQ(buffer[0], 0x05);
    EXPECT_EQ(buffer[4], 0x42);

    std::array<std::uint8_t, kReportBufferSize> notice{};
    ASSERT_TRUE(api.held.take(&api.handle, notice.data(), notice.size()));
    EXPECT_EQ(notice[0], 0xC0);
    ASSERT_TRUE(api.held.take(&api.handle, notice.data(), notice.size()));
    EXPECT_EQ(notice[0], 0xC2);
    EXPECT_EQ(notice[1], 0x24);
    EXPECT_FALSE(api.held.take(&api.handle, notice.data(), notice.size()));
}

TEST(ReportExchange, OnlyThe33And65ByteFormsAreSent) {
    ScriptedHidApi api;
    auto buffer = request(0x13, 0);
    for (std::size_t length : {0u, 32u, 34u, 64u, 66u}) {
        EXPECT_FALSE(exchangeReport(api.channel(), buffer.data(), length)) << length;
    }
    EXPECT_FALSE(exchangeReport(Channel{api, nullptr, {}, nullptr, nullptr}, buffer.data(),
                                kShortReportLength));
    EXPECT_TRUE(api.written.empty());
}

TEST(ReportExchange, AWriteOfNothingEndsTheExchangeWithoutReading) {
    ScriptedHidApi api;
    api.writeResult = -1;
    api.reads = {{0x13, 0x00}};
    auto buffer = request(0x13, 0x21);
    const auto before = buffer;
    EXPECT_FALSE(exchangeReport(api.channel(), buffer.data(), kLongReportLength));
    EXPECT_EQ(api.readCount, 0);
    EXPECT_EQ(buffer, before);
}

TEST(ReportExchange, DeviceInfoIsKeptOnlyWhenAnswered) {
    ScriptedHidApi api;
    std::array<std::uint8_t, kReportBufferSize> info;
    info.fill(0xAA);
    api.writeResult = -1;
    EXPECT_FALSE(readDeviceInfo(api.channel(), info.data()));
    EXPECT_EQ(info[4], 0xAA);

    api.writeResult = 0;
    api.reads = {{0x10, 0x00, 0x00, 0x00, 'C', 'V', '0', '1', 0, 0, 0x11, 0x20, 1, 80, 1}};
    ASSERT_TRUE(readDeviceInfo(api.channel(), info.data()));
    ASSERT_EQ(api.written.back().size(), kShortReportLength);
    EXPECT_EQ(api.written.back()[0], 0x00);
    EXPECT_EQ(api.written.back()[1], kGetInfoCommand);
    EXPECT_EQ(info[4], 'C');
    EXPECT_EQ(info[14], 1);
    EXPECT_EQ(info[40], 0) << "the whole block is the answer";
}

// hidraw sends exactly what it is given: the exchange makes every request one whole
// output report of the interface, whatever length the command was built with.
TEST(ReportExchange, WritesAreFramedAsTheInterfacesOutputReport) {
    struct Case {
        const char* what;
        ReportLayout layout;
        std::size_t length;
        std::size_t written;
        std::uint8_t reportId;
    };
    const Case cases[] = {
        {"33 bytes to a 64-byte report", kUnnumbered64, kShortReportLength, 65, 0x00},
        {"65 bytes to a 64-byte report", kUnnumbered64, kLongReportLength, 65, 0x00},
        {"33 bytes to a 32-byte report", kUnnumbered32, kShortReportLength, 33, 0x00},
        {"65 bytes to a 32-byte report", kUnnumbered32, kLongReportLength, 33, 0x00},
        {"33 bytes to numbered report 3", kNumbered, kShortReportLength, 64, 0x03},
        {"unknown layout: as made", ReportLayout{}, kShortReportLength, 33, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedHidApi api;
        auto buffer = request(0x13, 0x5A);
        exchangeReport(api.channel(c.layout), buffer.data(), c.length);
        ASSERT_EQ(api.written.size(), 1u);
        const std::vector<std::uint8_t>& report = api.written.front();
        ASSERT_EQ(report.size(), c.written);
        EXPECT_EQ(report[0], c.reportId);
        EXPECT_TRUE(std::equal(report.begin() + 1, report.begin() + 33, buffer.begin() + 1))
            << "the body follows the report ID";
        EXPECT_TRUE(std::all_of(report.begin() + 33, report.end(), [](auto b) { return b == 0; }))
            << "zeros after the body";
    }
}

TEST(ReportExchange, ARequestTheReportCannotCarryIsNotSent) {
    ScriptedHidApi api;
    auto buffer = request(0x13, 0);
    EXPECT_FALSE(
        exchangeReport(api.channel({true, false, 0, 16, 0, 16}), buffer.data(), kShortReportLength))
        << "shorter than the body";
    buffer[40] = 0x01; // a byte a 32-byte report would cut off
    EXPECT_FALSE(exchangeReport(api.channel(kUnnumbered32), buffer.data(), kLongReportLength));
    EXPECT_TRUE(api.written.empty());
}

// On a numbered node the answers carry the command collection's ID first; the node's
// other collections (keys, mouse movement) report there too, and their reports, even
// one that would pass for an accepted answer, are never taken for it.
TEST(ReportExchange, OnANumberedNodeOnlyTheCommandCollectionsReportsAnswer) {
    ScriptedHidApi api;
    api.reads = {
        {0x01, 0x00, 0x00, 0x00, 0x04},       // keyboard report: B1 would be 0
        {0x02, 0xE9, 0x00},                   // consumer key
        {0x03, 0x13, 0x00, 0x00, 0x00, 0x21}, // the answer
    };
    auto buffer = request(0x13, 0);
    ASSERT_TRUE(exchangeReport(api.channel(kNumbered), buffer.data(), kShortReportLength));
    EXPECT_EQ(buffer[0], 0x13) << "the report ID is taken off";
    EXPECT_EQ(buffer[4], 0x21);
    EXPECT_EQ(api.readCount, 3);

    api.reads = {{0x01, 0x00, 0x00}, {0x01, 0x00, 0x00}};
    buffer = request(0x13, 0);
    EXPECT_FALSE(exchangeReport(api.channel(kNumbered), buffer.data(), kShortReportLength));
    EXPECT_EQ(buffer[1], 0x13) << "no report of its own came: the buffer keeps the request";
}

TEST(ReportExchange, AnInterruptedExchangeEndsAtItsNextRead) {
    ScriptedHidApi api;
    std::atomic<bool> interrupted{true};
    Channel link = api.channel(kUnnumbered64);
    link.interrupted = &interrupted;
    auto buffer = request(0x13, 0);
    EXPECT_FALSE(exchangeReport(link, buffer.data(), kShortReportLength));
    EXPECT_TRUE(api.written.empty());

    // Set while the answer is awaited: no 1.5 s of reads follow.
    class StopAfterWrite final : public HidApi {
    public:
        explicit StopAfterWrite(std::atomic<bool>& flag) : flag(flag) {}
        int init() override { return 0; }
        int exit() override { return 0; }
        std::vector<HidDeviceInfo> enumerate(std::uint16_t, std::uint16_t) override { return {}; }
        HidDevice* open_path(const std::string&) override { return nullptr; }
        int write(HidDevice*, const std::uint8_t*, std::size_t length) override {
            flag = true;
            return static_cast<int>(length);
        }
        int read_timeout(HidDevice*, std::uint8_t*, std::size_t, int) override {
            ++reads;
            return 0;
        }
        void close(HidDevice*) override {}
        std::atomic<bool>& flag;
        int reads = 0;
    };
    interrupted = false;
    StopAfterWrite stopping(interrupted);
    ScriptedHidApi::Handle handle;
    EXPECT_FALSE(exchangeReport(Channel{stopping, &handle, kUnnumbered64, nullptr, &interrupted},
                                buffer.data(), kShortReportLength));
    EXPECT_EQ(stopping.reads, 0);
}

} // namespace
} // namespace corvane::hid
