#include <gtest/gtest.h>

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
    api.close(nullptr);
    EXPECT_EQ(api.exit(), 0);
}

} // namespace
} // namespace corvane::hid
