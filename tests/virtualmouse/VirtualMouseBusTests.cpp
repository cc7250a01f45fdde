#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "Host.h"

namespace corvane::vm::testing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST(VirtualMouseBus, EnumeratesEveryCollectionOfEveryPluggedDevice) {
    VirtualMouse bus;
    WiredMouseConfig wired;
    wired.releaseNumber = 0x0210;
    wired.withBootloader = true;
    bus.addWiredMouse(wired);
    bus.addReceiver({}, false);

    const auto entries = bus.enumerate(0, 0);
    ASSERT_EQ(entries.size(), 4u);
    const std::pair<std::uint16_t, std::uint16_t> usages[] = {
        {0x0001, 0x0002}, {0x0001, 0x0006}, {0xFF01, 0x0010}, {0xFFEF, 0x0000}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].vendorId, 0x1209);
        EXPECT_EQ(entries[i].productId, 0xC0A1);
        EXPECT_EQ(entries[i].releaseNumber, 0x0210);
        EXPECT_EQ(entries[i].usagePage, usages[i].first);
        EXPECT_EQ(entries[i].usage, usages[i].second);
        EXPECT_EQ(entries[i].interfaceNumber, static_cast<int>(i));
    }
    EXPECT_NE(entries[2].path.find("VID_1209&PID_C0A1&MI_02"), std::string::npos);
    EXPECT_EQ(bus.enumerate(0x1209, 0xC0A2).size(), 0u) << "the receiver is not plugged in";
    EXPECT_EQ(bus.enumerate(0x1209, 0xC0A1).size(), 4u);
    EXPECT_EQ(bus.enumerate(0x1234, 0).size(), 0u);
}

TEST(VirtualMouseBus, PluggingAgainGivesNewPathsAndEndsOldHandles) {
    VirtualMouse bus;
    std::vector<std::pair<std::string, bool>> events;
    bus.setHotplugListener(
        [&](const std::string& path, bool arrived) { events.emplace_back(path, arrived); });
    auto mouse = bus.addWiredMouse();
    const std::string before = mouse->path(InterfaceKind::Command);
    Host host(bus, before);
    ASSERT_TRUE(host.isOpen());

    mouse->unplug();
    EXPECT_TRUE(mouse->path(InterfaceKind::Command).empty());
    EXPECT_TRUE(bus.enumerate(0, 0).empty());
    EXPECT_EQ(host.write(readRequest(0x12)), -1);
    std::array<std::uint8_t, 65> report{};
    EXPECT_EQ(host.read(report, 0), -1);
    EXPECT_EQ(bus.open_path(before), nullptr);

    mouse->plug();
    const std::string after = mouse->path(InterfaceKind::Command);
    EXPECT_NE(after, before);
    EXPECT_EQ(host.read(report, 0), -1) << "a handle of the old attachment stays dead";

    ASSERT_EQ(events.size(), 9u); // three interfaces in, out, in
    EXPECT_EQ(events[2], std::make_pair(before, true));
    EXPECT_EQ(events[5], std::make_pair(before, false));
    EXPECT_EQ(events[8], std::make_pair(after, true));
}

TEST(VirtualMouseBus, AReadWaitsUpToItsTimeoutAndAnUnreadAnswerStaysPending) {
    VirtualMouse bus;
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    std::array<std::uint8_t, 65> report{};

    const auto start = Clock::now();
    EXPECT_EQ(host.read(report, 20), 0);
    EXPECT_GE(Clock::now() - start, milliseconds(20));

    mouse->delayNextAnswers(1, milliseconds(40));
    ASSERT_EQ(host.write(readRequest(0x12)), 65);
    EXPECT_EQ(host.read(report, 5), 0) << "not there yet";
    EXPECT_EQ(host.read(report, 1000, 33), 33) << "delivered to the next read";
    EXPECT_EQ(report[0], 0x12);
    EXPECT_EQ(report[33], 0x00) << "never more than the length asked for";
    EXPECT_EQ(host.read(report, 0), 0) << "and only once";
}

TEST(VirtualMouseBus, EveryOpenHandleHearsTheReportsOfItsInterface) {
    VirtualMouse bus;
    auto mouse = bus.addWiredMouse();
    Host first(bus, mouse->path(InterfaceKind::Command));
    Host second(bus, mouse->path(InterfaceKind::Command));
    ASSERT_TRUE(mouse->pressDpiButton());
    std::array<std::uint8_t, 65> report{};
    EXPECT_EQ(first.read(report, 0), 64);
    EXPECT_EQ(second.read(report, 0), 64);
    EXPECT_EQ(mouse->stats(InterfaceKind::Command).openHandles, 2);
}

// hidraw keeps 64 reports per reader; while they are unread, newer ones are lost.
TEST(VirtualMouseBus, AReaderThatDoesNotKeepUpLosesTheNewestReports) {
    VirtualMouse bus;
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    for (int i = 0; i < 70; ++i) {
        mouse->sendReport(InterfaceKind::Command, {0xAA, static_cast<std::uint8_t>(i)});
    }
    std::array<std::uint8_t, 65> report{};
    std::vector<int> delivered;
    while (host.read(report, 0) > 0) {
        delivered.push_back(report[1]);
    }
    ASSERT_EQ(delivered.size(), 64u);
    EXPECT_EQ(delivered.front(), 0);
    EXPECT_EQ(delivered.back(), 63);
}

TEST(VirtualMouseBus, FaultsOnDemand) {
    VirtualMouse bus;
    auto mouse = bus.addWiredMouse();
    mouse->failOpen(InterfaceKind::Command);
    EXPECT_EQ(bus.open_path(mouse->path(InterfaceKind::Command)), nullptr);
    mouse->failOpen(InterfaceKind::Command, false);
    Host host(bus, mouse->path(InterfaceKind::Command));
    ASSERT_TRUE(host.isOpen());
    std::array<std::uint8_t, 65> report{};

    mouse->failNextWrites(2);
    EXPECT_EQ(host.write(readRequest(0x12)), -1);
    EXPECT_EQ(host.write(readRequest(0x12)), -1);
    EXPECT_TRUE(mouse->received().empty()) << "a failed write never reached the mouse";
    EXPECT_EQ(host.write(readRequest(0x12)), 65);
    EXPECT_EQ(host.read(report, 0), 64);

    mouse->dropNextAnswers(1);
    EXPECT_EQ(host.write(readRequest(0x12)), 65);
    EXPECT_EQ(host.read(report, 5), 0);
    EXPECT_EQ(host.write(readRequest(0x12)), 65);
    EXPECT_EQ(host.read(report, 0), 64);

    mouse->busyNextReads(2, 0x07);
    EXPECT_EQ(host.write(readRequest(0x16)), 65);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(host.read(report, 0), 64);
        EXPECT_EQ(report[0], 0x16);
        EXPECT_EQ(report[1], 0x07);
    }
    ASSERT_EQ(host.read(report, 0), 64);
    EXPECT_EQ(report[1], 0x00);

    mouse->unplugAfterNextWrite();
    EXPECT_EQ(host.write(readRequest(0x16)), 65);
    EXPECT_EQ(host.read(report, 50), -1);
    EXPECT_FALSE(mouse->isPlugged());
}

TEST(VirtualMouseBus, UnpluggingEndsAReadThatIsWaiting) {
    VirtualMouse bus;
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    std::thread unplugger([&] {
        std::this_thread::sleep_for(milliseconds(20));
        mouse->unplug();
    });
    std::array<std::uint8_t, 65> report{};
    EXPECT_EQ(host.read(report, -1), -1);
    unplugger.join();
}

TEST(VirtualMouseBus, InitCanBeMadeToFail) {
    VirtualMouse bus;
    EXPECT_EQ(bus.init(), 0);
    bus.failInit();
    EXPECT_EQ(bus.init(), -1);
    EXPECT_EQ(bus.exit(), 0);
    EXPECT_EQ(bus.initCalls(), 2);
    EXPECT_EQ(bus.exitCalls(), 1);
}

// The UI thread plugs and unplugs while the worker keeps talking to whatever is there.
TEST(VirtualMouseBus, PluggingWhileAnotherThreadDoesIoIsSafe) {
    VirtualMouse bus;
    auto mouse = bus.addWiredMouse();
    std::atomic<bool> running{true};
    std::atomic<int> answered{0};

    std::thread worker([&] {
        while (running.load()) {
            const auto entries = bus.enumerate(0x1209, 0xC0A1);
            for (const auto& entry : entries) {
                if (entry.usagePage != 0xFF01) {
                    continue;
                }
                Host host(bus, entry.path);
                if (!host.isOpen()) {
                    continue;
                }
                std::array<std::uint8_t, 65> report{};
                for (int i = 0; i < 5 && host.write(readRequest(0x12)) > 0; ++i) {
                    const int got = host.read(report, 5);
                    EXPECT_TRUE(got == -1 || got == 0 || got == 64) << got;
                    answered += got == 64 ? 1 : 0;
                }
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        mouse->unplug();
        mouse->pressDpiButton();
        mouse->plug();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    running.store(false);
    worker.join();
    EXPECT_GT(answered.load(), 0);
}

TEST(VirtualMouseDemo, BuildsAWiredMouseAndALinkedReceiver) {
    DemoIds ids;
    ids.vendorId = 0x1209;
    ids.wiredProductId = 0xC0B1;
    ids.receiverProductId = 0xC0B2;
    ids.deviceId = "DM01";
    ids.wirelessDeviceId = "DM02";
    DemoSet demo = makeDemoSet(ids);
    ASSERT_TRUE(demo.bus && demo.wired && demo.receiver);
    EXPECT_TRUE(demo.receiver->isLinked());
    EXPECT_EQ(demo.bus->enumerate(0x1209, 0xC0B1).size(), 3u);
    EXPECT_EQ(demo.bus->enumerate(0x1209, 0xC0B2).size(), 3u);

    Host host(*demo.bus, demo.receiver->path(InterfaceKind::Command));
    const auto info = host.exchange(readRequest(0x10));
    EXPECT_EQ(std::string(info.begin() + 4, info.begin() + 8), "DM02");
    EXPECT_EQ(info[14], 1);
    EXPECT_EQ(demo.wired->identity().deviceId, "DM01");
}

} // namespace
} // namespace corvane::vm::testing
