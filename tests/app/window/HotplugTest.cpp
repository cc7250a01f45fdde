// Mice plugged in and pulled out: hidraw events as udev reports them turned into device
// tasks, and the running window following the virtual devices as they come and go.
#include "WindowTest.h"

#include "app/demo/VirtualDevices.h"
#include "app/desktop/DeviceChangeWiring.h"
#include "app/desktop/InterfaceText.h"
#include "app/window/MainWindowIds.h"
#include "catalog/DeviceCatalog.h"
#include "hid/DeviceManager.h"
#include "protocol/worker/DeviceWorker.h"
#include "ui/views/DeviceList.h"
#include "virtualmouse/VirtualMouse.h"

#include <QCoreApplication>

#include <memory>
#include <vector>

namespace corvane::app::test {
namespace {

// What hidapi's hidraw back end lists: one entry per top-level collection of each
// node, so a node with several collections appears several times under one path.
class RecordedEnumeration final : public hid::HidApi {
public:
    explicit RecordedEnumeration(std::vector<hid::HidDeviceInfo> entries)
        : entries(std::move(entries)) {}
    int init() override { return 0; }
    int exit() override { return 0; }
    std::vector<hid::HidDeviceInfo> enumerate(std::uint16_t, std::uint16_t) override {
        return entries;
    }
    hid::HidDevice* open_path(const std::string&) override { return nullptr; }
    int write(hid::HidDevice*, const std::uint8_t*, std::size_t) override { return -1; }
    int read_timeout(hid::HidDevice*, std::uint8_t*, std::size_t, int) override { return -1; }
    void close(hid::HidDevice*) override {}

private:
    std::vector<hid::HidDeviceInfo> entries;
};

hid::HidDeviceInfo entry(const char* node, std::uint16_t product, int interfaceNumber,
                         std::uint16_t usagePage, std::uint16_t usage) {
    hid::HidDeviceInfo info;
    info.path = node;
    info.vendorId = 0x1209;
    info.productId = product;
    info.releaseNumber = 0x0105;
    info.usagePage = usagePage;
    info.usage = usage;
    info.interfaceNumber = interfaceNumber;
    return info;
}

// The wired mouse (0xC0A1) on port 1-2, the receiver (0xC0A2) on port 1-4, a mouse of
// a firmware whose command collection is 0x0001/0x0000 (0xC0B1) on port 1-5 and a
// stranger (0xBEEF) on port 1-3.
const std::vector<hid::HidDeviceInfo> kEnumeration = {
    entry("/dev/hidraw3", 0xC0A1, 0, 0x0001, 0x0002),
    entry("/dev/hidraw4", 0xC0A1, 1, 0x0001, 0x0006),
    entry("/dev/hidraw4", 0xC0A1, 1, 0x000C, 0x0001),
    entry("/dev/hidraw5", 0xC0A1, 2, 0xFF01, 0x0010),
    entry("/dev/hidraw6", 0xC0A2, 0, 0x0001, 0x0002),
    entry("/dev/hidraw7", 0xC0A2, 1, 0x0001, 0x0006),
    // The receiver's interface 2 carries a consumer collection before the command one.
    entry("/dev/hidraw8", 0xC0A2, 2, 0x000C, 0x0001),
    entry("/dev/hidraw8", 0xC0A2, 2, 0xFF01, 0x0010),
    entry("/dev/hidraw9", 0xBEEF, 2, 0xFF01, 0x0010),
    entry("/dev/hidraw10", 0xC0B1, 2, 0x0001, 0x0000),
};

constexpr const char* kWiredUsb = "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.";
constexpr const char* kReceiverUsb = "/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.";

// An event as the monitor reads it: on "add" the hid parent's HID_ID and the USB
// interface's bInterfaceNumber are there; on "remove" the parents are usually gone
// and only DEVPATH and DEVNAME are left.
HidrawEvent recorded(const char* usbInterface, int number, const char* hidFolder, int node,
                     bool withParents) {
    const QString nodeName = QStringLiteral("hidraw%1").arg(node);
    HidrawEvent event;
    event.devPath = QString::fromLatin1(usbInterface) + QString::number(number) + u'/' +
                    QString::fromLatin1(hidFolder) + QStringLiteral("/hidraw/") + nodeName;
    event.devNode = QStringLiteral("/dev/") + nodeName;
    if (withParents) {
        const QStringList ids = QString::fromLatin1(hidFolder).section(u'.', 0, 0).split(u':');
        event.hidId = ids[0] + QStringLiteral(":0000") + ids[1] + QStringLiteral(":0000") + ids[2];
        event.interfaceNumber = QStringLiteral("%1").arg(number, 2, 10, QChar(u'0'));
    }
    return event;
}

class Hotplug : public WindowTest {};

TEST_F(Hotplug, RecordedHidrawEventsQueueTheTasksOfTheWindow) {
    hid::DeviceManager::installHidApi(std::make_shared<RecordedEnumeration>(kEnumeration));
    const catalog::DeviceCatalog catalog =
        catalog::readCatalog(sourceData() + QStringLiteral("/config.xml"));
    ASSERT_FALSE(catalog.modes.empty());

    constexpr bool kAdd = true;
    constexpr bool kRemove = false;
    constexpr bool kPolling = true;
    constexpr bool kIdle = false;
    struct Case {
        const char* what;
        HidrawEvent event;
        bool arrived;
        bool polling;
        QString text;
        int task;
    };
    const std::vector<Case> cases = {
        {"wired: the command interface arrives",
         recorded(kWiredUsb, 2, "0003:1209:C0A1.0007", 5, true), kAdd, kIdle,
         QStringLiteral("HID#VID_1209&PID_C0A1&MI_02#hidraw5"), 2},
        {"wired: the command interface arrives while another mouse is polled",
         recorded(kWiredUsb, 2, "0003:1209:C0A1.0007", 5, true), kAdd, kPolling,
         QStringLiteral("HID#VID_1209&PID_C0A1&MI_02#hidraw5"), 2},
        {"wired: the mouse collection arrives",
         recorded(kWiredUsb, 0, "0003:1209:C0A1.0005", 3, true), kAdd, kIdle,
         QStringLiteral("HID#VID_1209&PID_C0A1&MI_00#hidraw3"), 0},
        {"wired: the keyboard and consumer collections arrive",
         recorded(kWiredUsb, 1, "0003:1209:C0A1.0006", 4, true), kAdd, kIdle,
         QStringLiteral("HID#VID_1209&PID_C0A1&MI_01#hidraw4"), 0},
        {"receiver: the command interface arrives behind a consumer collection",
         recorded(kReceiverUsb, 2, "0003:1209:C0A2.000A", 8, true), kAdd, kIdle,
         QStringLiteral("HID#VID_1209&PID_C0A2&MI_02#hidraw8"), 2},
        {"a command collection of usage page 1, usage 0 arrives",
         recorded("/devices/pci0000:00/0000:00:14.0/usb1/1-5/1-5:1.", 2, "0003:1209:C0B1.000C", 10,
                  true),
         kAdd, kIdle, QStringLiteral("HID#VID_1209&PID_C0B1&MI_02#hidraw10"), 2},
        {"receiver: an interface the enumeration does not list yet",
         recorded(kReceiverUsb, 2, "0003:1209:C0A2.000B", 11, true), kAdd, kIdle,
         QStringLiteral("HID#VID_1209&PID_C0A2&MI_02#hidraw11"), 0},
        {"a stranger's command collection arrives",
         recorded("/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.", 2, "0003:1209:BEEF.0009", 9,
                  true),
         kAdd, kIdle, QStringLiteral("HID#VID_1209&PID_BEEF&MI_02#hidraw9"), 0},
        {"wired: the mouse collection goes while polling",
         recorded(kWiredUsb, 0, "0003:1209:C0A1.0005", 3, false), kRemove, kPolling,
         QStringLiteral("HID#VID_1209&PID_C0A1&MI_00#hidraw3"), 0},
        {"wired: interface 2 goes while polling",
         recorded(kWiredUsb, 2, "0003:1209:C0A1.0007", 5, false), kRemove, kPolling,
         QStringLiteral("HID#VID_1209&PID_C0A1&MI_02#hidraw5"), 3},
        {"wired: interface 2 goes while nothing is polled",
         recorded(kWiredUsb, 2, "0003:1209:C0A1.0007", 5, false), kRemove, kIdle,
         QStringLiteral("HID#VID_1209&PID_C0A1&MI_02#hidraw5"), 0},
        {"receiver: interface 2 goes while polling, its parents still readable",
         recorded(kReceiverUsb, 2, "0003:1209:C0A2.000A", 8, true), kRemove, kPolling,
         QStringLiteral("HID#VID_1209&PID_C0A2&MI_02#hidraw8"), 3},
        {"receiver: the keyboard collection goes while polling",
         recorded(kReceiverUsb, 1, "0003:1209:C0A2.0009", 7, false), kRemove, kPolling,
         QStringLiteral("HID#VID_1209&PID_C0A2&MI_01#hidraw7"), 0},
        {"a stranger's interface 2 goes while polling",
         recorded("/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.", 2, "0003:1209:BEEF.0009", 9,
                  false),
         kRemove, kPolling, QStringLiteral("HID#VID_1209&PID_BEEF&MI_02#hidraw9"), 0},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool polling = c.polling;
        std::vector<int> queued;
        DeviceChangeWiring wiring(catalog, {[&polling] { return polling; },
                                            [&queued](int task) { queued.push_back(task); }});

        const QString text = interfaceTextOf(c.event);
        EXPECT_EQ(text, c.text);
        // The monitor hands over the text and the node, as HotplugMonitor::deviceChanged.
        EXPECT_EQ(wiring.handleChange(text, c.event.devNode, c.arrived), c.task);
        EXPECT_EQ(queued, c.task == 0 ? std::vector<int>{} : std::vector<int>{c.task});
    }
}

TEST_F(Hotplug, TheWindowFollowsMicePluggedInAndPulledOutWhileItRuns) {
    const VirtualDeviceSet devices = makeVirtualDevices();
    installVirtualDevices(devices);
    bus = devices.bus;
    devices.wired->unplug();
    devices.receiver->unplug();
    devices.secondWired->unplug();

    watchVirtualHotplug = true;
    startWindow();
    waitForStart();
    protocol::DeviceWorker& worker = *window->worker();
    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);
    ASSERT_NE(list, nullptr);

    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(50));
    EXPECT_TRUE(shown(MainControl::HomePage));
    EXPECT_FALSE(shown(MainControl::Tabs));
    EXPECT_EQ(list->onlineCount(), 0);
    EXPECT_FALSE(worker.state().idlePolling());

    // Each plug or unplug announces three interfaces; exactly one task must follow.
    // The announcements were posted when the plug happened: delivered, they queue what they
    // queue. Barriers then run until the window queues nothing more; every task taken
    // besides the one and the barriers would be a second search.
    const auto settlesAfterOneTask = [&](std::uint64_t before) {
        QCoreApplication::sendPostedEvents();
        std::uint64_t barriers = 0;
        do {
            const std::uint64_t barrier = worker.queueTask(-1);
            ++barriers;
            ASSERT_TRUE(waitUntil([&] { return worker.finished(barrier); }, 60000));
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        } while (worker.queuedTasks() != 0);
        EXPECT_EQ(worker.tasksTaken(), before + 1 + barriers) << "exactly one task followed";
    };

    // The wired mouse arrives: its command interface starts the search.
    std::uint64_t taken = worker.tasksTaken();
    devices.wired->plug();
    ASSERT_TRUE(waitUntil(
        [&] {
            return textOf(MainControl::DeviceState) == englishText(51) && list->isOnline(1) &&
                   shown(MainControl::Tabs);
        },
        20000))
        << "the plugged mouse was not shown";
    settlesAfterOneTask(taken);
    EXPECT_EQ(list->selectedType(), 1);
    EXPECT_FALSE(list->isOnline(201));
    EXPECT_FALSE(shown(MainControl::HomePage));
    EXPECT_TRUE(worker.state().idlePolling());
    EXPECT_GT(devices.wired->stats(vm::InterfaceKind::Command).opens, 0);
    EXPECT_EQ(devices.wired->stats(vm::InterfaceKind::Mouse).opens, 0);

    // The receiver joins; then the cable goes and the rescan keeps the wireless mouse.
    taken = worker.tasksTaken();
    devices.receiver->plug();
    ASSERT_TRUE(waitUntil(
        [&] { return devices.receiver->stats(vm::InterfaceKind::Command).opens > 0; }, 20000))
        << "the receiver's arrival was not examined";
    settlesAfterOneTask(taken);

    taken = worker.tasksTaken();
    devices.wired->unplug();
    ASSERT_TRUE(
        waitUntil([&] { return textOf(MainControl::DeviceState) == englishText(52); }, 20000))
        << "the rescan did not fall back to the receiver";
    settlesAfterOneTask(taken);
    EXPECT_TRUE(list->isOnline(1));
    EXPECT_TRUE(shown(MainControl::Tabs));
    EXPECT_TRUE(worker.state().idlePolling());

    // The receiver goes too: nothing is left.
    taken = worker.tasksTaken();
    devices.receiver->unplug();
    ASSERT_TRUE(waitUntil(
        [&] {
            return textOf(MainControl::DeviceState) == englishText(50) &&
                   shown(MainControl::HomePage);
        },
        20000))
        << "the window still shows a device";
    settlesAfterOneTask(taken);
    EXPECT_FALSE(shown(MainControl::Tabs));
    EXPECT_EQ(list->onlineCount(), 0);
    EXPECT_FALSE(worker.state().idlePolling());

    // A mouse plugged in once everything was gone is found again.
    taken = worker.tasksTaken();
    devices.secondWired->plug();
    ASSERT_TRUE(waitUntil([&] { return list->isOnline(201); }, 20000))
        << "a mouse plugged in after all were gone was not found";
    settlesAfterOneTask(taken);
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(51));
    EXPECT_EQ(list->selectedType(), 201);
}

} // namespace
} // namespace corvane::app::test
