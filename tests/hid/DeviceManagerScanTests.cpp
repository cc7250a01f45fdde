#include <gtest/gtest.h>

#include <ostream>

#include "ManagerFixture.h"
#include "TraceCapture.h"
#include "hid/ReportExchange.h"

namespace corvane::hid::testing {
namespace {

using vm::InterfaceKind;

// GetInfo as it reaches the device: report ID, command 0x10, zeros up to the
// interface's 65-byte output report.
std::vector<std::uint8_t> getInfoRequest() {
    std::vector<std::uint8_t> report(65, 0);
    report[1] = kGetInfoCommand;
    return report;
}

using DeviceManagerScan = ManagerFixture;

TEST_F(DeviceManagerScan, WiredAndWirelessOfOneTypeOnlyTheWiredIsAskedForItsInfo) {
    auto receiver = bus->addReceiver(receiverConfig(true));
    auto wired = bus->addWiredMouse(wiredConfig());
    TraceCapture trace;

    EXPECT_EQ(manager->rescan(), 2);

    const std::vector<std::string> expected{
        "========== EnumerateDevice Start ==========",
        "Step 1: Quick scan - collecting basic device info",
        "  Found [0]: VID=0x1209, PID=0xC0A2, Mode=2.4G",
        "  [0] Interface: " + receiver->path(InterfaceKind::Command) +
            ", MI=2, output report 64 bytes ID 0x00, input report 64 bytes ID 0x00",
        "  Found [1]: VID=0x1209, PID=0xC0A1, Mode=USB",
        "  [1] Interface: " + wired->path(InterfaceKind::Command) +
            ", MI=2, output report 64 bytes ID 0x00, input report 64 bytes ID 0x00",
        "Step 2: USB device found, SKIP reading 2.4G details (reduce HID traffic)",
        "  [0] 2.4G device - SKIP (USB exists)",
        "  [0] Final: VID=0x1209, PID=0xC0A2, Type=0, Mode=1",
        "  [1] USB device - reading details...",
        "  [1] DeviceId: CV01, DeviceType: 7",
        "  [1] Final: VID=0x1209, PID=0xC0A1, Type=7, Mode=0",
        "========== EnumerateDevice Complete! Total=2, HasUSB=YES ==========",
    };
    EXPECT_EQ(trace.lines(), expected);
    EXPECT_EQ(trace.levels(), std::vector<int>(expected.size(), 2));

    EXPECT_EQ(wired->received(), std::vector<std::vector<std::uint8_t>>{getInfoRequest()});
    EXPECT_TRUE(receiver->received().empty());

    const ConnectedDevice wiredEntry = listed(kWiredPid);
    const ConnectedDevice wirelessEntry = listed(kReceiverPid);
    EXPECT_EQ(wiredEntry.index, 1);
    EXPECT_EQ(wiredEntry.deviceType, kType);
    EXPECT_EQ(wiredEntry.deviceIdText, "CV01");
    EXPECT_EQ(wiredEntry.releaseNumber, 0x0105);
    EXPECT_EQ(wiredEntry.info[1], 0x00);
    EXPECT_EQ(wiredEntry.info[14], 1);
    EXPECT_EQ(wirelessEntry.deviceType, 0);
    EXPECT_EQ(wirelessEntry.onlineState, kOnline);
    EXPECT_TRUE(wirelessEntry.deviceIdText.isEmpty());

    manager->selectType(kType);
    EXPECT_EQ(manager->currentHandle(), wiredEntry.hid);
    EXPECT_EQ(manager->connectionKind(), 0);
    int vid = 0;
    int pid = 0;
    ASSERT_TRUE(manager->currentVidPid(vid, pid));
    EXPECT_EQ(vid, kVendor);
    EXPECT_EQ(pid, kWiredPid);
}

TEST_F(DeviceManagerScan, ReceiverWhoseMouseIsOffIsListedOnlineAndAsked) {
    auto receiver = bus->addReceiver(receiverConfig(false));
    TraceCapture trace;

    EXPECT_EQ(manager->rescan(), 1);

    const std::vector<std::string> expected{
        "========== EnumerateDevice Start ==========",
        "Step 1: Quick scan - collecting basic device info",
        "  Found [0]: VID=0x1209, PID=0xC0A2, Mode=2.4G",
        "  [0] Interface: " + receiver->path(InterfaceKind::Command) +
            ", MI=2, output report 64 bytes ID 0x00, input report 64 bytes ID 0x00",
        "Step 2: No USB device, will read 2.4G device details",
        "  [0] 2.4G state: Online",
        "  [0] 2.4G device - reading details...",
        "  [0] DeviceId: CV01, DeviceType: 7",
        "  [0] Final: VID=0x1209, PID=0xC0A2, Type=7, Mode=1",
        "========== EnumerateDevice Complete! Total=1, HasUSB=NO ==========",
    };
    EXPECT_EQ(trace.lines(), expected);
    EXPECT_EQ(receiver->received(), std::vector<std::vector<std::uint8_t>>{getInfoRequest()});

    const ConnectedDevice entry = listed(kReceiverPid);
    EXPECT_EQ(entry.onlineState, kOnline);
    EXPECT_EQ(entry.info[14], 0) << "the answer says the mouse is not connected";
    manager->selectType(kType);
    EXPECT_EQ(manager->connectionKind(), 1);
    EXPECT_EQ(manager->currentHandle(), entry.hid);
}

TEST_F(DeviceManagerScan, DevicesWithOnePairAreToldApartByTheirIdentifier) {
    manager->clearSupported();
    manager->addSupportedInterface(supported(kWiredPid, kModeWired, 11, "AAAA"));
    manager->addSupportedInterface(supported(kWiredPid, kModeWired, 12, "BBBB"));
    bus->addWiredMouse(wiredConfig("BBBB"));
    bus->addWiredMouse(wiredConfig("AAAA"));
    bus->addWiredMouse(wiredConfig("CCCC"));

    ASSERT_EQ(manager->rescan(), 3);
    const auto devices = manager->devices();
    EXPECT_EQ(devices[0].deviceType, 12);
    EXPECT_EQ(devices[1].deviceType, 11);
    EXPECT_EQ(devices[2].deviceType, 0) << "an identifier the table does not know";
    EXPECT_EQ(devices[2].deviceIdText, "CCCC");
}

TEST_F(DeviceManagerScan, OrdinaryCollectionsAndUnsupportedDevicesAreNeverOpened) {
    auto wired = bus->addWiredMouse(wiredConfig());
    auto stranger = bus->addWiredMouse(wiredConfig("CV01", 0xC0FF));

    ASSERT_EQ(manager->rescan(), 1);
    EXPECT_EQ(wired->stats(InterfaceKind::Mouse).opens, 0);
    EXPECT_EQ(wired->stats(InterfaceKind::Keyboard).opens, 0);
    EXPECT_EQ(wired->stats(InterfaceKind::Command).opens, 1);
    EXPECT_EQ(stranger->stats(InterfaceKind::Command).opens, 0);
}

TEST_F(DeviceManagerScan, TheGenericDesktopCommandCollectionIsRecognised) {
    vm::WiredMouseConfig config = wiredConfig();
    config.command = {0x0001, 0x0000};
    bus->addWiredMouse(config);

    ASSERT_EQ(manager->rescan(), 1);
    EXPECT_EQ(manager->devices()[0].deviceType, kType);
}

// A node without permission for this user fails to open: it is left out, and the scan
// remembers that it saw it.
TEST_F(DeviceManagerScan, AnInterfaceThatFailsToOpenIsSkippedAndCounted) {
    auto locked = bus->addWiredMouse(wiredConfig());
    locked->failOpen(InterfaceKind::Command);
    auto open = bus->addWiredMouse(wiredConfig());
    TraceCapture trace;

    ASSERT_EQ(manager->rescan(), 1);
    const ConnectedDevice entry = manager->devices()[0];
    EXPECT_EQ(entry.index, 0);
    EXPECT_EQ(entry.path, open->path(InterfaceKind::Command));
    EXPECT_EQ(trace.lines()[2], "  Cannot open " + locked->path(InterfaceKind::Command) +
                                    " (VID=0x1209, PID=0xC0A1, MI=2)");
    EXPECT_EQ(trace.lines()[3], "  Found [0]: VID=0x1209, PID=0xC0A1, Mode=USB");
    EXPECT_EQ(manager->unopenedInterfaces(), 1);
    const std::vector<CommandInterface> seen = manager->commandInterfaces();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FALSE(seen[0].opened);
    EXPECT_TRUE(seen[1].opened);
    EXPECT_EQ(seen[0].interfaceNumber, 2);

    locked->failOpen(InterfaceKind::Command, false);
    ASSERT_EQ(manager->rescan(), 2);
    EXPECT_EQ(manager->unopenedInterfaces(), 0);
}

TEST_F(DeviceManagerScan, LongInterfacePathsAreKeptWhole) {
    vm::WiredMouseConfig config = wiredConfig();
    config.pathTag = "/" + std::string(1500, 'p');
    auto wired = bus->addWiredMouse(config);

    ASSERT_EQ(manager->rescan(), 1);
    const std::string path = wired->path(InterfaceKind::Command);
    EXPECT_GT(path.size(), 1500u);
    EXPECT_EQ(manager->devices()[0].path, path);
}

TEST_F(DeviceManagerScan, NothingAttachedGivesAnEmptyList) {
    TraceCapture trace;
    EXPECT_EQ(manager->rescan(), 0);
    EXPECT_TRUE(manager->isReady());
    EXPECT_EQ(trace.lines().back(),
              "========== EnumerateDevice Complete! Total=0, HasUSB=NO ==========");
    manager->selectType(kType);
    EXPECT_EQ(manager->currentHandle(), nullptr);
    EXPECT_EQ(manager->connectionKind(), -1);
}

TEST_F(DeviceManagerScan, AFailedHidLayerFindsNothing) {
    bus->addWiredMouse(wiredConfig());
    bus->failInit();
    DeviceManager failed(bus);
    EXPECT_EQ(failed.rescan(), 0);
    EXPECT_EQ(failed.openBootloader(kVendor, kWiredPid), nullptr);
}

TEST_F(DeviceManagerScan, GetInfoIsTriedTwiceThenTheDeviceStaysUnidentified) {
    auto wired = bus->addWiredMouse(wiredConfig());
    wired->failNextWrites(1);
    ASSERT_EQ(manager->rescan(), 1);
    EXPECT_EQ(manager->devices()[0].deviceType, kType) << "the second attempt answered";

    wired->failNextWrites(2);
    ASSERT_EQ(manager->rescan(), 1);
    const ConnectedDevice entry = manager->devices()[0];
    EXPECT_EQ(entry.deviceType, 0);
    EXPECT_TRUE(entry.deviceIdText.isEmpty());
    EXPECT_EQ(entry.onlineState, kOnline);
    EXPECT_EQ(wired->stats(InterfaceKind::Command).writes, 4);
}

TEST_F(DeviceManagerScan, EnumerateAppendsAndCloseAllReleasesEverything) {
    auto wired = bus->addWiredMouse(wiredConfig());
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);
    ASSERT_NE(manager->currentHandle(), nullptr);

    EXPECT_EQ(manager->EnumerateDevice(), 2) << "a scan never removes entries";
    EXPECT_EQ(wired->stats(InterfaceKind::Command).openHandles, 2);

    manager->closeAll();
    EXPECT_FALSE(manager->isReady());
    EXPECT_TRUE(manager->devices().empty());
    EXPECT_EQ(manager->currentHandle(), nullptr) << "a closed handle is never current";
    EXPECT_EQ(wired->stats(InterfaceKind::Command).openHandles, 0);
}

TEST_F(DeviceManagerScan, DestroyingTheManagerClosesHandlesAndReleasesTheHidLayer) {
    auto wired = bus->addWiredMouse(wiredConfig("CV01"));
    vm::BootloaderConfig loader;
    loader.productId = kWiredPid;
    bus->addBootloader(loader);
    ASSERT_EQ(manager->rescan(), 1);
    ASSERT_NE(manager->openBootloader(kVendor, kWiredPid), nullptr);

    manager.reset();
    EXPECT_EQ(wired->stats(InterfaceKind::Command).openHandles, 0);
    EXPECT_EQ(bus->initCalls(), 1);
    EXPECT_EQ(bus->exitCalls(), 1);
}

struct IdentifyCase {
    const char* name;
    std::vector<std::pair<QString, int>> entries; // deviceId, deviceType, all with one pair
    QString deviceId;
    int expected;
};

// Names the case in test output by its label, not by its bytes.
void PrintTo(const IdentifyCase& c, std::ostream* os) {
    *os << c.name;
}

class Identify : public ::testing::TestWithParam<IdentifyCase> {};

TEST_P(Identify, PicksTheFirstMatchingEntryOfThePair) {
    DeviceManager manager(std::make_shared<vm::VirtualMouse>());
    manager.addSupportedInterface(supported(0x0001, kModeWired, 99, "")); // another pair
    for (const auto& [deviceId, type] : GetParam().entries) {
        manager.addSupportedInterface(supported(kWiredPid, kModeWired, type, deviceId));
    }
    EXPECT_EQ(manager.identify(kVendor, kWiredPid, GetParam().deviceId), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Identify,
    ::testing::Values(IdentifyCase{"exact", {{"CV01", 7}}, "CV01", 7},
                      IdentifyCase{"caseSensitive", {{"CV01", 7}}, "cv01", 0},
                      IdentifyCase{"emptyIdentifierUnknown", {{"CV01", 7}}, "", 0},
                      IdentifyCase{"emptyEntry", {{"", 5}}, "ZZZZ", 101},
                      IdentifyCase{"shortEntry", {{"CV0", 5}}, "CV01", 101},
                      IdentifyCase{"exactBeforeShort", {{"CV01", 7}, {"", 5}}, "CV01", 7},
                      IdentifyCase{"shortAfterMiss", {{"CV01", 7}, {"", 5}}, "XXXX", 101},
                      IdentifyCase{"shortBeforeExact", {{"", 5}, {"CV01", 7}}, "CV01", 101},
                      IdentifyCase{"secondExact", {{"AAAA", 3}, {"BBBB", 4}}, "BBBB", 4},
                      IdentifyCase{"noEntryOfThePair", {}, "CV01", 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace corvane::hid::testing
