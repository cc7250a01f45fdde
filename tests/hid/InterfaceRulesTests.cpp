#include <gtest/gtest.h>

#include "hid/InterfaceRules.h"

namespace corvane::hid {
namespace {

struct UsageCase {
    std::uint16_t usagePage;
    std::uint16_t usage;
    bool command;
    bool bootloader;
};

TEST(InterfaceRules, RecogniseCommandAndBootloaderCollections) {
    const UsageCase cases[] = {
        {0xFF01, 0x0010, true, false},  {0x0001, 0x0000, true, false},
        {0x0001, 0x0002, false, false}, {0x0001, 0x0006, false, false},
        {0xFF01, 0x0000, false, false}, {0xFF00, 0x0010, false, false},
        {0x000C, 0x0001, false, false}, {0xFFEF, 0x0000, false, true},
        {0xFFEF, 0x0001, false, false},
    };
    for (const UsageCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.usagePage << "/" << c.usage);
        EXPECT_EQ(isCommandUsage(c.usagePage, c.usage), c.command);
        EXPECT_EQ(isBootloaderUsage(c.usagePage, c.usage), c.bootloader);
    }
}

} // namespace
} // namespace corvane::hid
