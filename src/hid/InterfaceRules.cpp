#include "hid/InterfaceRules.h"

#include <algorithm>
#include <array>

namespace corvane::hid {

namespace {

struct UsagePair {
    std::uint16_t usagePage;
    std::uint16_t usage;
};

constexpr std::array<UsagePair, 2> kCommandCollections{{
    {0xFF01, 0x0010},
    {0x0001, 0x0000},
}};

} // namespace

bool isCommandUsage(std::uint16_t usagePage, std::uint16_t usage) {
    return std::any_of(
        kCommandCollections.begin(), kCommandCollections.end(),
        [&](const UsagePair& p) { return p.usagePage == usagePage && p.usage == usage; });
}

bool isBootloaderUsage(std::uint16_t usagePage, std::uint16_t usage) {
    return usagePage == kBootloaderUsagePage && usage == kBootloaderUsage;
}

} // namespace corvane::hid
