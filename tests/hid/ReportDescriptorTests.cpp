#include <gtest/gtest.h>

#include <vector>

#include "hid/ReportDescriptor.h"

namespace corvane::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Descriptors as mice and receivers of this kind report them, item by item.

// A vendor collection of one unnumbered report each way; `count` data bytes.
Bytes vendorUnnumbered(std::uint8_t count) {
    return {
        0x06, 0x01,  0xFF,       // Usage Page (0xFF01)
        0x09, 0x10,              // Usage (0x10)
        0xA1, 0x01,              // Collection (Application)
        0x15, 0x00,              //   Logical Minimum (0)
        0x26, 0xFF,  0x00,       //   Logical Maximum (255)
        0x75, 0x08,              //   Report Size (8)
        0x95, count,             //   Report Count
        0x09, 0x10,  0x81, 0x02, //   Usage, Input (Data, Variable, Absolute)
        0x09, 0x10,  0x91, 0x02, //   Usage, Output (Data, Variable, Absolute)
        0xC0,                    // End Collection
    };
}

// The ordinary boot mouse: three buttons, five bits of padding, X and Y.
const Bytes kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x05, 0x81, 0x03, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15,
    0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0,
};

// One node with a keyboard (ID 1), consumer keys (ID 2) and the command collection on
// usage page 0x0001 / usage 0 (ID 3, 63 bytes each way).
const Bytes kSharedNode = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, // keyboard, Report ID (1)
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01,
    0x95, 0x08, 0x81, 0x02,             //   modifiers: 8 bits in
    0x95, 0x01, 0x75, 0x08, 0x81, 0x01, //   reserved byte
    0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, // LEDs out
    0x95, 0x01, 0x75, 0x03, 0x91, 0x01,                                     //   LED padding
    0x95, 0x06, 0x75, 0x08, 0x26, 0xFF, 0x00, 0x05, 0x07, 0x19, 0x00, 0x29,
    0xFF, 0x81, 0x00,                               //   six key codes
    0xC0,                                           //
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, // consumer, Report ID (2)
    0x19, 0x00, 0x2A, 0x3C, 0x02, 0x15, 0x00, 0x26, 0x3C, 0x02, 0x95, 0x01,
    0x75, 0x10, 0x81, 0x00, 0xC0,                   //
    0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0x85, 0x03, // commands, Report ID (3)
    0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x00, 0x81,
    0x02, 0x09, 0x00, 0x91, 0x02, 0xC0,
};

// A receiver's node: the mouse (ID 1) and the command collection (ID 6) given with a
// four-byte usage that carries its page, whose reports are declared between a Push and
// a Pop; its output report comes in two items.
const Bytes kPushPopAndExtendedUsage = {
    0x05,
    0x01,
    0x09,
    0x02,
    0xA1,
    0x01,
    0x85,
    0x01,
    0x09,
    0x01,
    0xA1,
    0x00,
    0x05,
    0x09,
    0x19,
    0x01,
    0x29,
    0x05,
    0x95,
    0x05,
    0x75,
    0x01,
    0x81,
    0x02,
    0x95,
    0x01,
    0x75,
    0x03,
    0x81,
    0x01,
    0x05,
    0x01,
    0x09,
    0x30,
    0x09,
    0x31,
    0x16,
    0x01,
    0x80,
    0x26,
    0xFF,
    0x7F,
    0x75,
    0x10,
    0x95,
    0x02,
    0x81,
    0x06,
    0xC0,
    0xC0,
    0x0B,
    0x10,
    0x00,
    0x01,
    0xFF, // Usage
          // (0xFF01:0x0010)
    0xA1,
    0x01,
    0x85,
    0x06, // Collection, Report ID (6)
    0xA4, //   Push
    0x75,
    0x08,
    0x95,
    0x20,
    0x81,
    0x02, //   32 bytes in
    0x95,
    0x10,
    0x91,
    0x02,
    0x91,
    0x02, //   16 + 16 bytes out
    0xB4, //   Pop
    0xB1,
    0x02, //   feature: 2 x 16 bits again
    0xC0,
};

TEST(ReportDescriptor, ReadsTheReportsOfRealWorldDescriptors) {
    struct Case {
        const char* what;
        Bytes bytes;
        bool numbered;
        std::vector<std::pair<std::uint16_t, std::uint16_t>> usages;
        ReportLayout layout;
    };
    const Case cases[] = {
        {"unnumbered 32-byte vendor reports",
         vendorUnnumbered(32),
         false,
         {{0xFF01, 0x10}},
         {true, false, 0, 32, 0, 32}},
        {"unnumbered 64-byte vendor reports",
         vendorUnnumbered(64),
         false,
         {{0xFF01, 0x10}},
         {true, false, 0, 64, 0, 64}},
        {"the boot mouse: no command collection", kBootMouse, false, {{0x0001, 0x0002}}, {}},
        {"several numbered collections on one node",
         kSharedNode,
         true,
         {{0x0001, 0x0006}, {0x000C, 0x0001}, {0x0001, 0x0000}},
         {true, true, 3, 63, 3, 63}},
        {"push and pop, a usage with its own page",
         kPushPopAndExtendedUsage,
         true,
         {{0x0001, 0x0002}, {0xFF01, 0x0010}},
         {true, true, 6, 32, 6, 32}},
        {"an empty descriptor", {}, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto descriptor = parseReportDescriptor(c.bytes.data(), c.bytes.size());
        ASSERT_TRUE(descriptor.has_value());
        EXPECT_EQ(descriptor->numbered, c.numbered);
        ASSERT_EQ(descriptor->collections.size(), c.usages.size());
        for (std::size_t i = 0; i < c.usages.size(); ++i) {
            EXPECT_EQ(descriptor->collections[i].usagePage, c.usages[i].first) << i;
            EXPECT_EQ(descriptor->collections[i].usage, c.usages[i].second) << i;
        }
        EXPECT_EQ(commandLayout(*descriptor), c.layout);
    }
}

TEST(ReportDescriptor, SizesEveryReportOfACollectionByItsId) {
    auto descriptor = parseReportDescriptor(kSharedNode.data(), kSharedNode.size());
    ASSERT_TRUE(descriptor.has_value());
    // Keyboard: 8 modifier bits, a reserved byte and six keys in; 5 LED bits and 3 of
    // padding out.
    EXPECT_EQ(descriptor->collections[0].reports, (std::vector<ReportSizes>{{1, 8, 1, 0}}));
    EXPECT_EQ(descriptor->collections[1].reports, (std::vector<ReportSizes>{{2, 2, 0, 0}}));

    descriptor = parseReportDescriptor(kBootMouse.data(), kBootMouse.size());
    ASSERT_TRUE(descriptor.has_value());
    EXPECT_EQ(descriptor->collections[0].reports, (std::vector<ReportSizes>{{0, 3, 0, 0}}))
        << "bit fields are rounded up to whole bytes";

    descriptor =
        parseReportDescriptor(kPushPopAndExtendedUsage.data(), kPushPopAndExtendedUsage.size());
    ASSERT_TRUE(descriptor.has_value());
    EXPECT_EQ(descriptor->collections[1].reports, (std::vector<ReportSizes>{{6, 32, 32, 4}}))
        << "Pop restores the report size and count in force before Push";
}

TEST(ReportDescriptor, ACommandCollectionWithoutAnOutputReportHasNoLayout) {
    Bytes inputOnly = vendorUnnumbered(64);
    inputOnly.erase(inputOnly.end() - 5, inputOnly.end() - 1); // drop Usage, Output
    const auto descriptor = parseReportDescriptor(inputOnly.data(), inputOnly.size());
    ASSERT_TRUE(descriptor.has_value());
    EXPECT_FALSE(commandLayout(*descriptor).known);
}

TEST(ReportDescriptor, LongItemsAreSkipped) {
    Bytes bytes = {0xFE, 0x03, 0xF0, 0xAA, 0xBB, 0xCC};
    const Bytes vendor = vendorUnnumbered(32);
    bytes.insert(bytes.end(), vendor.begin(), vendor.end());
    const auto descriptor = parseReportDescriptor(bytes.data(), bytes.size());
    ASSERT_TRUE(descriptor.has_value());
    EXPECT_EQ(commandLayout(*descriptor).outputLength, 32u);
}

TEST(ReportDescriptor, MalformedDescriptorsAreRefused) {
    const Bytes vendor = vendorUnnumbered(64);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"an item cut short", Bytes(vendor.begin(), vendor.begin() + 10)},
        {"a collection left open", Bytes(vendor.begin(), vendor.end() - 1)},
        {"End Collection without a collection", {0xC0}},
        {"Pop without Push", {0xB4}},
        {"report ID 0", {0x85, 0x00}},
        {"a long item running past the end", {0xFE, 0x10, 0x00, 0x01}},
        {"a report larger than the kernel takes",
         {0xA1, 0x01, 0x75, 0x08, 0x97, 0x00, 0x00, 0x01, 0x00, 0x81, 0x02, 0xC0}},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(parseReportDescriptor(c.bytes.data(), c.bytes.size()).has_value()) << c.what;
    }
}

} // namespace
} // namespace corvane::hid
