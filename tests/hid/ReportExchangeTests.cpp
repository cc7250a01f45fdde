#include <gtest/gtest.h>

#include <array>
#include <deque>

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

    int writeResult = 0; // < 0: the write fails
    std::deque<std::vector<std::uint8_t>> reads;
    std::vector<std::vector<std::uint8_t>> written;
    int readCount = 0;
    Handle handle;
};

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

    ASSERT_TRUE(exchangeReport(api, &api.handle, buffer.data(), kShortReportLength));
    EXPECT_EQ(api.readCount, 2);
    EXPECT_EQ(buffer[0], 0x13);
    EXPECT_EQ(buffer[2], 0x07);
    for (std::size_t i = 3; i < kShortReportLength; ++i) {
        EXPECT_EQ(buffer[i], 0) << "byte " << i << " was not part of the answer";
    }
}

TEST(ReportExchange, OnlyThe33And65ByteFormsAreSent) {
    ScriptedHidApi api;
    auto buffer = request(0x13, 0);
    for (std::size_t length : {0u, 32u, 34u, 64u, 66u}) {
        EXPECT_FALSE(exchangeReport(api, &api.handle, buffer.data(), length)) << length;
    }
    EXPECT_FALSE(exchangeReport(api, nullptr, buffer.data(), kShortReportLength));
    EXPECT_TRUE(api.written.empty());
}

TEST(ReportExchange, AWriteOfNothingEndsTheExchangeWithoutReading) {
    ScriptedHidApi api;
    api.writeResult = -1;
    api.reads = {{0x13, 0x00}};
    auto buffer = request(0x13, 0x21);
    const auto before = buffer;
    EXPECT_FALSE(exchangeReport(api, &api.handle, buffer.data(), kLongReportLength));
    EXPECT_EQ(api.readCount, 0);
    EXPECT_EQ(buffer, before);
}

TEST(ReportExchange, DeviceInfoIsKeptOnlyWhenAnswered) {
    ScriptedHidApi api;
    std::array<std::uint8_t, kReportBufferSize> info;
    info.fill(0xAA);
    api.writeResult = -1;
    EXPECT_FALSE(readDeviceInfo(api, &api.handle, info.data()));
    EXPECT_EQ(info[4], 0xAA);

    api.writeResult = 0;
    api.reads = {{0x10, 0x00, 0x00, 0x00, 'C', 'V', '0', '1', 0, 0, 0x11, 0x20, 1, 80, 1}};
    ASSERT_TRUE(readDeviceInfo(api, &api.handle, info.data()));
    ASSERT_EQ(api.written.back().size(), kShortReportLength);
    EXPECT_EQ(api.written.back()[0], 0x00);
    EXPECT_EQ(api.written.back()[1], kGetInfoCommand);
    EXPECT_EQ(info[4], 'C');
    EXPECT_EQ(info[14], 1);
    EXPECT_EQ(info[40], 0) << "the whole block is the answer";
}

} // namespace
} // namespace corvane::hid
