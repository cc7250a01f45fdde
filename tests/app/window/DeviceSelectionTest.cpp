// The device list's choice of a device, the device changes that reach the worker, and
// what the window shows of the worker's reports.
#include "WindowTest.h"

#include "app/frame/BatteryIndicator.h"
#include "app/window/MainWindowIds.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "ui/views/DeviceList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/TabControl.h"
#include "virtualmouse/VirtualMouse.h"

#include <QFileInfo>
#include <QTest>

namespace corvane::app::test {
namespace {

using DeviceSelection = WindowTest;

constexpr int kM1 = 1;
constexpr int kM2 = 201;

std::shared_ptr<vm::WiredMouse> plugWired(vm::VirtualMouse& bus, std::uint16_t pid, const char* id,
                                          bool plugged = true) {
    vm::WiredMouseConfig mouse;
    mouse.productId = pid;
    mouse.mouse.deviceId = id;
    return bus.addWiredMouse(mouse, plugged);
}

void clickEntry(DeviceMainDlg& window, int deviceType) {
    auto* list = window.find<ui::DeviceList>(MainControl::DeviceList);
    for (int i = 0; i < list->count(); ++i) {
        if (list->entryType(i) == deviceType) {
            QTest::mouseClick(list, Qt::LeftButton, {}, list->entryRect(i).center());
            return;
        }
    }
    ADD_FAILURE() << "no entry of type " << deviceType;
}

TEST_F(DeviceSelection, AnAttachedMouseShowsTheButtonsPage) {
    auto mouse = plugWired(*bus, 0xC0A1, "CVM1");
    startWindow();
    waitForStart();
    ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }));
    waitForWorker();

    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(51));
    EXPECT_TRUE(shown(MainControl::Tabs));
    EXPECT_EQ(window->find<ui::TabControl>(MainControl::Tabs)->currentItemId(), TabItem::Buttons);
    EXPECT_TRUE(shown(MainControl::ButtonsPage));
    EXPECT_TRUE(shown(MainControl::MousePicture));
    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);
    EXPECT_TRUE(list->isOnline(kM1));
    EXPECT_FALSE(list->isOnline(kM2));
    EXPECT_EQ(list->selectedType(), kM1);
    EXPECT_TRUE(window->find<ui::TabControl>(MainControl::Tabs)->isItemVisible(TabIndex::Lighting));
    auto* picture = window->find<ui::MousePicture>(MainControl::MousePicture);
    ASSERT_EQ(picture->count(), 6) << "one callout per key of corvane_m1.xml";
    EXPECT_EQ(picture->calloutText(0), englishText(143));
    EXPECT_EQ(textOf(MainControl::Profile), QStringLiteral("Profile 1"));
}

TEST_F(DeviceSelection, ListedButUnattachedDeviceSaysSoAndChangesNothing) {
    auto mouse = plugWired(*bus, 0xC0A1, "CVM1");
    startWindow();
    waitForStart();
    ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }));
    waitForWorker();
    window->selectTab(TabIndex::Home);
    const std::uint64_t taken = window->worker()->tasksTaken();

    clickEntry(*window, kM2);
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].text, englishText(56));
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(57));
    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);
    EXPECT_EQ(list->selectedType(), kM1) << "the current device stays selected";
    EXPECT_TRUE(shown(MainControl::HomePage));
    EXPECT_FALSE(shown(MainControl::Tabs));
    waitForWorker(); // its barrier is the one task taken since
    EXPECT_EQ(window->worker()->tasksTaken(), taken + 1) << "nothing was queued";
    EXPECT_EQ(window->worker()->state().currentDeviceType(), kM1);
}

TEST_F(DeviceSelection, ChoosingAnotherAttachedTypeSettlesItOnTheWorker) {
    auto first = plugWired(*bus, 0xC0A1, "CVM1");
    auto second = plugWired(*bus, 0xC0B1, "CVM2");
    startWindow();
    waitForStart();
    ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }));
    ASSERT_EQ(window->worker()->state().currentDeviceType(), kM1);
    window->selectTab(TabIndex::Home);

    clickEntry(*window, kM2);
    EXPECT_TRUE(messageBoxes.shown.empty());
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(51));
    EXPECT_TRUE(shown(MainControl::Tabs));
    EXPECT_EQ(window->find<ui::TabControl>(MainControl::Tabs)->currentItemId(), TabItem::Buttons);
    EXPECT_TRUE(shown(MainControl::MousePicture));
    EXPECT_TRUE(shown(MainControl::Profile));

    ASSERT_TRUE(waitUntil([&] { return window->worker()->state().currentDeviceType() == kM2; }));
    ASSERT_TRUE(waitUntil([&] {
        return !window->find<ui::TabControl>(MainControl::Tabs)->isItemVisible(TabIndex::Lighting);
    })) << "the second type has no lighting";
    EXPECT_EQ(window->find<ui::MousePicture>(MainControl::MousePicture)->count(), 8);
    EXPECT_EQ(memoryValues.values[QStringLiteral("DeviceType")], QStringLiteral("201"));
    EXPECT_TRUE(QFileInfo::exists(dataDir.filePath(QStringLiteral("db/corvane_m2_data1.db"))));
    // The newly chosen mouse is read back once.
    ASSERT_TRUE(waitUntil([&] { return window->worker()->state().readBackDone(kM2); }));
}

TEST_F(DeviceSelection, ChoosingAWirelessMouseAsksTheWorkerToReadItAgain) {
    vm::ReceiverConfig config;
    config.productId = 0xC0A2;
    config.mouse.deviceId = "CVM1";
    auto receiver = bus->addReceiver(config);
    startWindow();
    waitForStart();
    ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }));
    waitForWorker();
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(52));
    window->selectTab(TabIndex::Home);
    const std::size_t readsBefore = receiver->received(vm::InterfaceKind::Command).size();

    clickEntry(*window, kM1);
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(52));
    EXPECT_TRUE(shown(MainControl::Tabs));
    // The reselect task asks the receiver for its state again.
    EXPECT_TRUE(waitUntil(
        [&] { return receiver->received(vm::InterfaceKind::Command).size() > readsBefore; }));
}

TEST_F(DeviceSelection, ArrivalOfAMouseReachesTheWorkerAndShowsIt) {
    auto mouse = plugWired(*bus, 0xC0A1, "CVM1", false);
    watchVirtualHotplug = true;
    startWindow();
    waitForStart();
    EXPECT_FALSE(window->connectionShown());

    mouse->plug(); // from this thread, as a device would arrive at any time
    ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }));
    waitForWorker();
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(51));
    EXPECT_TRUE(window->find<ui::DeviceList>(MainControl::DeviceList)->isOnline(kM1));

    mouse->unplug();
    ASSERT_TRUE(waitUntil([&] { return !window->connectionShown(); }));
    waitForWorker();
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(50));
    EXPECT_TRUE(shown(MainControl::HomePage));
    EXPECT_FALSE(window->find<ui::DeviceList>(MainControl::DeviceList)->isOnline(kM1));
}

TEST_F(DeviceSelection, BatteryShowsOnlyWhatTheMouseReports) {
    startWindow();
    waitForStart();
    window->showConfigurationView();
    auto* battery = window->find<BatteryIndicator>(MainControl::Battery);
    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);

    window->workerHost().showBattery(kM1, 80, 1);
    ASSERT_TRUE(waitUntil([&] { return battery->level() == 80; }));
    EXPECT_TRUE(battery->isCharging());
    EXPECT_TRUE(battery->hasLevel());

    window->workerHost().showBattery(kM1, 0, 0); // a mouse on its cable
    ASSERT_TRUE(waitUntil([&] { return battery->level() == 0; }));
    EXPECT_FALSE(battery->hasLevel());
    EXPECT_FALSE(battery->isCharging());
    EXPECT_EQ(list->count(), 2);
}

// One type attached twice (cable and receiver): the list shows the better connection,
// whichever order the scan found them in.
TEST_F(DeviceSelection, TypeAttachedTwiceShowsItsOnlineConnection) {
    startWindow();
    waitForStart();
    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);
    protocol::DeviceStateView view;
    view.attached = {{kM1, 0, 1, 0x105}, {kM1, 1, 2, 0x102}};
    view.connectionText = 51;
    view.pagesShown = true;
    view.selectedType = kM1;
    window->workerHost().showDeviceState(view);
    ASSERT_TRUE(waitUntil([&] { return list->isOnline(kM1); }));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(list->isOnline(kM1));

    view.attached = {{kM1, 1, 2, 0x102}, {kM1, 0, 1, 0x105}};
    window->workerHost().showDeviceState(view);
    // The host posts to the window: everything posted is delivered here.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(list->isOnline(kM1));
}

} // namespace
} // namespace corvane::app::test
