#include "catalog/DeviceChange.h"

#include <gtest/gtest.h>

#include <map>

namespace corvane::catalog {
namespace {

DeviceMode modeOf(int deviceType, int mode, int vid, int pid) {
    DeviceMode entry;
    entry.device.deviceType = deviceType;
    entry.mode = mode;
    entry.vid = vid;
    entry.pid = pid;
    return entry;
}

DeviceCatalog twoDeviceCatalog() {
    DeviceCatalog catalog;
    catalog.modes = {modeOf(1, 0, 0x1209, 0xC0A1), modeOf(1, 1, 0x1209, 0xC0A2),
                     modeOf(201, 0, 0x1209, 0xC0B1)};
    return catalog;
}

// The collections of the interfaces in the table below, by path.
const std::map<QString, std::pair<int, int>> kUsages = {
    {R"(\\?\HID#VID_1209&PID_C0A1&MI_02#7&1)", {0xFF01, 0x0010}},
    {R"(\\?\hid#vid_1209&pid_c0a2&mi_02#7&2)", {0x0001, 0x0000}},
    {R"(\\?\HID#VID_1209&PID_C0A1&MI_00#7&3)", {0x0001, 0x0002}}, // ordinary mouse
    {R"(\\?\HID#VID_1209&PID_C0B1&MI_01#7&4)", {0x0001, 0x0006}}, // keyboard
    {R"(\\?\HID#VID_1209&PID_C0B1&MI_02#7&5)", {0xFF01, 0x0011}},
    {R"(\\?\HID#VID_1209&PID_C0B1&MI_03#7&6)", {0xFF02, 0x0010}},
};

std::optional<std::pair<int, int>> usageByPath(const QString& path) {
    const auto it = kUsages.find(path);
    if (it == kUsages.end())
        return std::nullopt;
    return it->second;
}

TEST(DeviceChange, DecidesTheTask) {
    const struct Case {
        const char* what;
        const char* path;
        bool arrived;
        bool idlePolling;
        int expected;
    } cases[] = {
        {"command interface arrives", R"(\\?\HID#VID_1209&PID_C0A1&MI_02#7&1)", true, false,
         kDeviceArrivedTask},
        {"lower-case path, desktop collection 0", R"(\\?\hid#vid_1209&pid_c0a2&mi_02#7&2)", true,
         true, kDeviceArrivedTask},
        {"mouse collection of a known device", R"(\\?\HID#VID_1209&PID_C0A1&MI_00#7&3)", true, true,
         kNoDeviceTask},
        {"keyboard collection of a known device", R"(\\?\HID#VID_1209&PID_C0B1&MI_01#7&4)", true,
         true, kNoDeviceTask},
        {"vendor page with another usage", R"(\\?\HID#VID_1209&PID_C0B1&MI_02#7&5)", true, true,
         kNoDeviceTask},
        {"another vendor page with usage 0x10", R"(\\?\HID#VID_1209&PID_C0B1&MI_03#7&6)", true,
         true, kNoDeviceTask},
        {"interface that cannot be examined", R"(\\?\HID#VID_1209&PID_C0A1&MI_02#9&9)", true, true,
         kNoDeviceTask},
        {"unknown device arrives", R"(\\?\HID#VID_046D&PID_C077&MI_00#7&1)", true, true,
         kNoDeviceTask},
        {"interface 2 removed while polling", R"(\\?\HID#VID_1209&PID_C0A1&MI_02#7&1)", false, true,
         kDeviceRemovedTask},
        {"lower-case removal", R"(\\?\hid#vid_1209&pid_c0b1&mi_02#7&1)", false, true,
         kDeviceRemovedTask},
        {"interface 0 removed", R"(\\?\HID#VID_1209&PID_C0A1&MI_00#7&3)", false, true,
         kNoDeviceTask},
        {"interface 2 removed while not polling", R"(\\?\HID#VID_1209&PID_C0A1&MI_02#7&1)", false,
         false, kNoDeviceTask},
        {"unknown device removed", R"(\\?\HID#VID_046D&PID_C077&MI_02#7&1)", false, true,
         kNoDeviceTask},
        {"removal without interface number", R"(\\?\HID#VID_1209&PID_C0A1#7&1)", false, true,
         kNoDeviceTask},
    };
    const DeviceCatalog catalog = twoDeviceCatalog();
    for (const Case& c : cases) {
        EXPECT_EQ(matchDeviceChange(QString::fromUtf8(c.path), c.arrived, c.idlePolling, catalog,
                                    usageByPath),
                  c.expected)
            << c.what;
    }
}

TEST(DeviceChange, FirstMatchingModeDecidesAndOnlyArrivalsAreExamined) {
    DeviceCatalog catalog = twoDeviceCatalog();
    catalog.modes.push_back(modeOf(7, 0, 0x1209, 0xC0A1)); // same pair again
    int lookups = 0;
    const UsageLookup counting = [&](const QString& path) {
        ++lookups;
        return usageByPath(path);
    };
    const QString command = R"(\\?\HID#VID_1209&PID_C0A1&MI_02#7&1)";
    const QString mouse = R"(\\?\HID#VID_1209&PID_C0A1&MI_00#7&3)";
    EXPECT_EQ(matchDeviceChange(command, true, true, catalog, counting), kDeviceArrivedTask);
    EXPECT_EQ(matchDeviceChange(mouse, true, true, catalog, counting), kNoDeviceTask);
    EXPECT_EQ(lookups, 2) << "one look at the interface per arrival";
    EXPECT_EQ(matchDeviceChange(command, false, true, catalog, counting), kDeviceRemovedTask);
    EXPECT_EQ(lookups, 2) << "a removed interface is not examined";
}

TEST(DeviceChange, EmptyCatalogOrNoLookupQueuesNothing) {
    const QString command = R"(\\?\HID#VID_1209&PID_C0A1&MI_02#7&1)";
    EXPECT_EQ(matchDeviceChange(command, true, true, DeviceCatalog{}, usageByPath), kNoDeviceTask);
    EXPECT_EQ(matchDeviceChange(command, false, true, DeviceCatalog{}, usageByPath), kNoDeviceTask);
    EXPECT_EQ(matchDeviceChange(command, true, true, twoDeviceCatalog(), UsageLookup{}),
              kNoDeviceTask);
}

// Which interface carries the command collection differs between mice and receivers:
// a removal counts for the interface the enumeration showed it on.
TEST(DeviceChange, ARemovalFollowsTheInterfaceThatCarriedTheCommandCollection) {
    const CommandInterfaceNumbers carried = [](int, int pid) {
        switch (pid) {
        case 0xC0A1:
            return std::vector<int>{0};
        case 0xC0A2:
            return std::vector<int>{1, 3};
        default:
            return std::vector<int>{}; // never enumerated
        }
    };
    const struct Case {
        const char* path;
        int expected;
    } cases[] = {
        {R"(HID#VID_1209&PID_C0A1&MI_00#hidraw3)", kDeviceRemovedTask},
        {R"(HID#VID_1209&PID_C0A1&MI_02#hidraw5)", kNoDeviceTask},
        {R"(hid#vid_1209&pid_c0a2&mi_01#hidraw7)", kDeviceRemovedTask},
        {R"(HID#VID_1209&PID_C0A2&MI_03#hidraw8)", kDeviceRemovedTask},
        {R"(HID#VID_1209&PID_C0A2&MI_00#hidraw6)", kNoDeviceTask},
        {R"(HID#VID_1209&PID_C0B1&MI_02#hidraw10)", kDeviceRemovedTask},
        {R"(HID#VID_1209&PID_C0B1&MI_00#hidraw9)", kNoDeviceTask},
        {R"(HID#VID_1209&PID_C0A1&MI_#hidraw3)", kNoDeviceTask},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matchDeviceChange(QString::fromUtf8(c.path), false, true, twoDeviceCatalog(),
                                    usageByPath, carried),
                  c.expected)
            << c.path;
    }
    EXPECT_EQ(matchDeviceChange(R"(HID#VID_1209&PID_C0A1&MI_00#hidraw3)", false, false,
                                twoDeviceCatalog(), usageByPath, carried),
              kNoDeviceTask)
        << "only while a device is polled";
}

TEST(DeviceChange, IdsAreWrittenWithFourDigits) {
    DeviceCatalog catalog;
    catalog.modes = {modeOf(1, 0, 0x0A, 0x1)};
    const auto command = [](const QString&) {
        return std::optional<std::pair<int, int>>({0xFF01, 0x10});
    };
    EXPECT_EQ(matchDeviceChange("HID#VID_000A&PID_0001&MI_02", true, true, catalog, command),
              kDeviceArrivedTask);
    EXPECT_EQ(matchDeviceChange("HID#VID_A&PID_1&MI_02", true, true, catalog, command),
              kNoDeviceTask);
}

} // namespace
} // namespace corvane::catalog
