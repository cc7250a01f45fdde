// Small deciding parts of the main window: version texts, how a device type is attached,
// which entry the device list shows for a type attached twice.
#include "app/start/ReleaseText.h"
#include "app/window/DeviceKind.h"

#include <gtest/gtest.h>

namespace corvane::app {
namespace {

TEST(ReleaseText, PutsTheDotBeforeTheLastTwoHexadecimalDigits) {
    const std::pair<int, const char*> cases[] = {
        {0x105, "1.05"}, {0x0110, "1.10"}, {0x1234, "12.34"}, {0x5, "0.05"},
        {0x0, "0.00"},   {0xA0B, "a.0b"},  {-1, ""},
    };
    for (const auto& [release, text] : cases)
        EXPECT_EQ(releaseText(release), QString::fromLatin1(text)) << release;
}

TEST(ReleaseText, DottedVersionOfAReceiverText) {
    EXPECT_EQ(dottedVersion(QStringLiteral("105")), QStringLiteral("1.05"));
    EXPECT_EQ(dottedVersion(QStringLiteral("1a05")), QStringLiteral("1a.05"));
    EXPECT_EQ(dottedVersion(QStringLiteral("7")), QStringLiteral("7"));
}

hid::ConnectedDevice device(int type, int mode) {
    hid::ConnectedDevice d;
    d.deviceType = type;
    d.mode = mode;
    return d;
}

TEST(DeviceKind, CableBeforeReceiverAndNothingForOtherTypes) {
    const std::vector<hid::ConnectedDevice> devices = {device(1, 1), device(1, 0), device(201, 1)};
    EXPECT_EQ(connectionKindOf(devices, 1), 0);
    EXPECT_EQ(connectionKindOf(devices, 201), 1);
    EXPECT_EQ(connectionKindOf(devices, 7), -1);
    EXPECT_EQ(connectionKindOf(devices, 0), -1) << "unidentified devices are no type";
    EXPECT_EQ(connectionKindOf({}, 1), -1);
}

TEST(DeviceKind, OneListEntryPerTypeShowingItsBestConnection) {
    using Entry = protocol::DeviceListEntry;
    // Cable online beats receiver online beats anything offline; the first of equals stays.
    const std::vector<Entry> attached = {
        {1, 1, 2, 0x102}, {201, 1, 1, 0x300}, {1, 0, 1, 0x105},
        {1, 1, 1, 0x103}, {201, 0, 0, 0x301},
    };
    const std::vector<Entry> expected = {{1, 0, 1, 0x105}, {201, 1, 1, 0x300}};
    EXPECT_EQ(listEntriesByType(attached), expected);

    const std::vector<Entry> offline = {{5, 1, 2, 1}, {5, 0, 0, 2}};
    EXPECT_EQ(listEntriesByType(offline), (std::vector<Entry>{{5, 1, 2, 1}}));
}

} // namespace
} // namespace corvane::app
