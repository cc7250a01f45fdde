#include "TestSupport.h"

#include "app/desktop/HotplugEvent.h"
#include "app/desktop/HotplugMonitor.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>
#include <memory>

using namespace corvane::app;

namespace {

TEST(HotplugMonitor, EventSourceFollowsTheUdevDaemon) {
    EXPECT_STREQ(udevEventSource(true), "udev");
    EXPECT_STREQ(udevEventSource(false), "kernel");
}

qsizetype openDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
        .size();
}

TEST(HotplugMonitor, ReleasesItsSocketWhenDestroyed) {
    corvane::app::test::ensureCoreApplication();
    QCoreApplication::processEvents(); // whatever the event loop opens on first use
    const qsizetype before = openDescriptors();
    bool active = false;
    {
        HotplugMonitor first;
        auto second = std::make_unique<HotplugMonitor>();
        // Where the sandbox allows no netlink socket both stay inactive; an active
        // monitor holds a socket of its own.
        active = first.isActive() && second->isActive();
        if (active) {
            EXPECT_GE(openDescriptors(), before + 2);
        }
        QObject::connect(&first, &HotplugMonitor::deviceChanged, [] {});
        second.reset();
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(openDescriptors(), before);
    if (!active)
        GTEST_SKIP() << "no netlink socket here: nothing was opened, so no socket's release "
                        "was checked";
}

// A udev event as `udevadm monitor --udev --property` shows it for a hidraw node, with
// what its parents give: HID_ID of the hid device and bInterfaceNumber of the USB
// interface (both gone on removal, when sysfs no longer has the parents).
struct RecordedEvent final : UdevEvent {
    const char* actionValue;
    const char* subsystemValue;
    const char* devPathValue;
    const char* devNodeValue;
    const char* hidIdValue;
    const char* interfaceNumberValue;

    RecordedEvent(const char* action, const char* subsystem, const char* devPath,
                  const char* devNode, const char* hidId, const char* interfaceNumber)
        : actionValue(action), subsystemValue(subsystem), devPathValue(devPath),
          devNodeValue(devNode), hidIdValue(hidId), interfaceNumberValue(interfaceNumber) {}

    const char* action() const override { return actionValue; }
    const char* subsystem() const override { return subsystemValue; }
    const char* devPath() const override { return devPathValue; }
    const char* devNode() const override { return devNodeValue; }
    const char* hidId() const override { return hidIdValue; }
    const char* interfaceNumber() const override { return interfaceNumberValue; }
};

constexpr const char* kWired = "/devices/pci0000:00/0000:00:14.0/usb1/1-3/";
constexpr const char* kReceiver = "/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4.2/";

struct EventCase {
    const char* what;
    RecordedEvent event;
    const char* interfaceText; // null: no change is reported
    const char* node = nullptr;
    bool arrived = false;
};

std::string path(const char* device, const char* rest) {
    return std::string(device) + rest;
}

TEST(HotplugMonitor, ReadsRecordedUdevEvents) {
    // Kept alive for the table's pointers.
    const std::string wired0 = path(kWired, "1-3:1.0/0003:1209:C0A1.000A/hidraw/hidraw3");
    const std::string wired1 = path(kWired, "1-3:1.1/0003:1209:C0A1.000B/hidraw/hidraw4");
    const std::string wired2 = path(kWired, "1-3:1.2/0003:1209:C0A1.000C/hidraw/hidraw5");
    const std::string receiver0 = path(kReceiver, "1-4.2:1.0/0003:1209:C0A2.000D/hidraw/hidraw6");
    const std::string receiver1 = path(kReceiver, "1-4.2:1.1/0003:1209:C0A2.000E/hidraw/hidraw7");
    const std::string receiver2 = path(kReceiver, "1-4.2:1.2/0003:1209:C0A2.000F/hidraw/hidraw8");
    const char* wiredId = "0003:00001209:0000C0A1";
    const char* receiverId = "0003:00001209:0000C0A2";

    const EventCase cases[] = {
        {"wired MI_00 added",
         {"add", "hidraw", wired0.c_str(), "/dev/hidraw3", wiredId, "00"},
         "HID#VID_1209&PID_C0A1&MI_00#hidraw3",
         "/dev/hidraw3",
         true},
        {"wired MI_01 added",
         {"add", "hidraw", wired1.c_str(), "/dev/hidraw4", wiredId, "01"},
         "HID#VID_1209&PID_C0A1&MI_01#hidraw4",
         "/dev/hidraw4",
         true},
        {"wired MI_02 added",
         {"add", "hidraw", wired2.c_str(), "/dev/hidraw5", wiredId, "02"},
         "HID#VID_1209&PID_C0A1&MI_02#hidraw5",
         "/dev/hidraw5",
         true},
        {"wired MI_00 removed, parents gone",
         {"remove", "hidraw", wired0.c_str(), "/dev/hidraw3", nullptr, nullptr},
         "HID#VID_1209&PID_C0A1&MI_00#hidraw3",
         "/dev/hidraw3",
         false},
        {"wired MI_02 removed, parents gone",
         {"remove", "hidraw", wired2.c_str(), "/dev/hidraw5", nullptr, nullptr},
         "HID#VID_1209&PID_C0A1&MI_02#hidraw5",
         "/dev/hidraw5",
         false},
        {"receiver MI_00 added behind a hub",
         {"add", "hidraw", receiver0.c_str(), "/dev/hidraw6", receiverId, "00"},
         "HID#VID_1209&PID_C0A2&MI_00#hidraw6",
         "/dev/hidraw6",
         true},
        {"receiver MI_02 added",
         {"add", "hidraw", receiver2.c_str(), "/dev/hidraw8", receiverId, "02"},
         "HID#VID_1209&PID_C0A2&MI_02#hidraw8",
         "/dev/hidraw8",
         true},
        {"receiver MI_01 removed, parents gone",
         {"remove", "hidraw", receiver1.c_str(), "/dev/hidraw7", nullptr, nullptr},
         "HID#VID_1209&PID_C0A2&MI_01#hidraw7",
         "/dev/hidraw7",
         false},
        {"receiver MI_02 removed with its parents still readable",
         {"remove", "hidraw", receiver2.c_str(), "/dev/hidraw8", receiverId, "02"},
         "HID#VID_1209&PID_C0A2&MI_02#hidraw8",
         "/dev/hidraw8",
         false},
        {"HID_ID wins over a path that names no ids",
         {"add", "hidraw", "/devices/virtual/hidraw/hidraw9", "/dev/hidraw9", wiredId, "02"},
         "HID#VID_1209&PID_C0A1&MI_02#hidraw9",
         "/dev/hidraw9",
         true},

        // Junk: nothing is reported.
        {"change", {"change", "hidraw", wired2.c_str(), "/dev/hidraw5", wiredId, "02"}, nullptr},
        {"bind", {"bind", "hidraw", wired2.c_str(), "/dev/hidraw5", wiredId, "02"}, nullptr},
        {"no action", {nullptr, "hidraw", wired2.c_str(), "/dev/hidraw5", wiredId, "02"}, nullptr},
        {"action differing in case",
         {"ADD", "hidraw", wired2.c_str(), "/dev/hidraw5", wiredId, "02"},
         nullptr},
        {"another subsystem",
         {"add", "input", wired2.c_str(), "/dev/input/event7", wiredId, "02"},
         nullptr},
        {"no subsystem", {"add", nullptr, wired2.c_str(), "/dev/hidraw5", wiredId, "02"}, nullptr},
        {"no ids anywhere",
         {"add", "hidraw", "/devices/virtual/hidraw/hidraw9", "/dev/hidraw9", "junk", "02"},
         nullptr},
        {"nothing at all", {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}, nullptr},
    };
    for (const EventCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<HotplugChange> change = readHotplugEvent(c.event);
        if (!c.interfaceText) {
            EXPECT_FALSE(change.has_value());
            continue;
        }
        ASSERT_TRUE(change.has_value());
        EXPECT_EQ(change->interfaceText, QString::fromLatin1(c.interfaceText));
        EXPECT_EQ(change->hidrawPath, QString::fromLatin1(c.node));
        EXPECT_EQ(change->arrived, c.arrived);
    }
}

} // namespace
