// CORVANE_VIRTUAL_MOUSE_LOG: every report a virtual device receives, one line each.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Host.h"
#include "virtualmouse/ReportLog.h"

namespace corvane::vm::testing {
namespace {

std::vector<std::string> linesOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A line's fields: the time stamp, the device and the bytes.
struct LogLine {
    std::string time;
    std::string device;
    std::vector<std::string> bytes;
};

LogLine split(const std::string& line) {
    std::istringstream in(line);
    LogLine fields;
    in >> fields.time >> fields.device;
    for (std::string byte; in >> byte;) {
        fields.bytes.push_back(byte);
    }
    return fields;
}

// "2026-05-01T14:03:27.512": local time to the millisecond.
bool isTimeStamp(const std::string& text) {
    if (text.size() != 23) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char expected = i == 4 || i == 7     ? '-'
                              : i == 10            ? 'T'
                              : i == 13 || i == 16 ? ':'
                              : i == 19            ? '.'
                                                   : '0';
        if (expected == '0' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                            : text[i] != expected) {
            return false;
        }
    }
    return true;
}

std::string joined(const std::vector<std::string>& bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && i < bytes.size(); ++i) {
        text += (i ? " " : "") + bytes[i];
    }
    return text;
}

class ReportLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = std::filesystem::temp_directory_path() /
               ("corvane-report-log-" + std::to_string(::getpid()) + ".txt");
        std::filesystem::remove(file);
        setReportLogFile(file.string());
    }
    void TearDown() override {
        setReportLogFile({});
        std::filesystem::remove(file);
    }
    std::filesystem::path file;
};

TEST_F(ReportLogTest, EachReceivedReportIsOneLineWithTimeDeviceAndBytes) {
    VirtualMouse bus;
    WiredMouseConfig config;
    config.productId = 0xC0A1;
    auto mouse = bus.addWiredMouse(config);
    Host host(bus, mouse->path(InterfaceKind::Command));
    ASSERT_TRUE(host.isOpen());

    ASSERT_GT(host.write(request(0x02, 0, 1, {0x02})), 0);
    mouse->failNextWrites(1);
    EXPECT_LT(host.write(request(0x02, 0, 1, {0x04})), 0) << "not received: not logged";
    ASSERT_GT(host.write(readRequest(0x12)), 0);

    const std::vector<std::string> lines = linesOf(file);
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines) {
        const LogLine fields = split(line);
        EXPECT_TRUE(isTimeStamp(fields.time)) << line;
        EXPECT_EQ(fields.device.rfind("1209:C0A1/", 0), 0u) << line;
        EXPECT_EQ(fields.bytes.size(), 65u) << "one whole report: its ID, then 64 bytes: " << line;
    }
    EXPECT_EQ(joined(split(lines[0]).bytes, 7), "00 02 00 00 01 02 00");
    EXPECT_EQ(joined(split(lines[1]).bytes, 6), "00 12 00 00 00 00");
}

TEST_F(ReportLogTest, NothingIsWrittenWithoutALogFile) {
    setReportLogFile({});
    VirtualMouse bus;
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    ASSERT_GT(host.write(readRequest(0x12)), 0);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ReportLogLine, LocalTimeWithMillisecondsThenDeviceThenHexBytes) {
    const std::uint8_t bytes[] = {0x00, 0xAB, 0x0F};
    const std::string line = reportLogLine(1'700'000'000'123LL, "1209:C0A2/0", bytes, 3);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.back(), '\n');
    const LogLine fields = split(line);
    EXPECT_TRUE(isTimeStamp(fields.time)) << line;
    EXPECT_EQ(fields.time.substr(19), ".123");
    EXPECT_EQ(fields.device, "1209:C0A2/0");
    EXPECT_EQ(joined(fields.bytes, 3), "00 AB 0F");
}

} // namespace
} // namespace corvane::vm::testing
