#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <QTemporaryDir>

#include "hid/HidrawDescriptor.h"
#include "hid/SystemHidApi.h"

namespace corvane::hid {
namespace {

// No mouse is needed: the system library must start, list whatever is attached, and
// refuse what cannot be opened.
TEST(SystemHidApi, StartsListsAndRefusesAMissingPath) {
    SystemHidApi api;
    ASSERT_EQ(api.init(), 0);
    for (const HidDeviceInfo& entry : api.enumerate(0, 0)) {
        EXPECT_FALSE(entry.path.empty());
    }
    EXPECT_EQ(api.open_path("/dev/corvane-no-such-hidraw"), nullptr);
    std::uint8_t buffer[4] = {};
    EXPECT_EQ(api.write(nullptr, buffer, sizeof buffer), -1);
    EXPECT_EQ(api.read_timeout(nullptr, buffer, sizeof buffer, 0), -1);
    EXPECT_EQ(api.get_report_descriptor(nullptr, buffer, sizeof buffer), -1);
    api.close(nullptr);
    EXPECT_EQ(api.exit(), 0);
}

// The kernel's copy of a node's descriptor, in a stand-in for /sys.
TEST(HidrawDescriptor, IsReadFromTheNodesFolderUnderSys) {
    QTemporaryDir sys;
    ASSERT_TRUE(sys.isValid());
    const std::filesystem::path folder =
        std::filesystem::path(sys.path().toStdString()) / "class/hidraw/hidraw12/device";
    std::filesystem::create_directories(folder);
    const std::vector<std::uint8_t> descriptor = {0x06, 0x01, 0xFF, 0x09, 0x10, 0xA1, 0x01, 0xC0};
    std::ofstream(folder / "report_descriptor", std::ios::binary)
        .write(reinterpret_cast<const char*>(descriptor.data()),
               static_cast<std::streamsize>(descriptor.size()));
    const std::string root = sys.path().toStdString();

    std::vector<std::uint8_t> buffer(64, 0xEE);
    ASSERT_EQ(readHidrawReportDescriptor("/dev/hidraw12", buffer.data(), buffer.size(), root), 8);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 8), descriptor);
    EXPECT_EQ(readHidrawReportDescriptor("/dev/hidraw12", buffer.data(), 3, root), 3)
        << "never more than the buffer holds";

    for (const char* node : {"/dev/hidraw13", "/dev/hidraw", "/dev/hidraw1x", "/dev/input/event3",
                             "../hidraw12/../../x"}) {
        EXPECT_EQ(readHidrawReportDescriptor(node, buffer.data(), buffer.size(), root), -1) << node;
    }
}

} // namespace
} // namespace corvane::hid
