#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ManagerFixture.h"

namespace corvane::hid::testing {
namespace {

using DeviceManagerThreads = ManagerFixture;

// The worker rescans while the UI thread asks questions and picks device types, and a
// third thread plugs a receiver in and out. Each answer must describe one whole list.
TEST_F(DeviceManagerThreads, QueriesRunSafelyBesideScans) {
    bus->addWiredMouse(wiredConfig());
    auto receiver = bus->addReceiver(receiverConfig(true));
    std::atomic<bool> scanning{true};

    std::thread ui([&] {
        std::vector<ConnectedDevice> list;
        int release = 0;
        while (scanning.load()) {
            manager->selectType(kType);
            const int kind = manager->connectionKind();
            EXPECT_TRUE(kind == -1 || kind == 0) << kind;
            manager->hasIdentifiedDevice(kType);
            if (manager->releaseOfMode(kModeWired, release)) {
                EXPECT_EQ(release, 0x0105);
            }
            manager->devicesOfCurrentType(list);
            EXPECT_LE(list.size(), 1u) << "one wired mouse of the type at most";
            for (const ConnectedDevice& device : manager->devices()) {
                EXPECT_LE(device.index, 1);
                EXPECT_EQ(device.vendorId, kVendor);
            }
        }
    });
    std::thread plugger([&] {
        while (scanning.load()) {
            receiver->unplug();
            std::this_thread::yield();
            receiver->plug();
        }
    });

    for (int i = 0; i < 200; ++i) {
        const int total = manager->rescan();
        EXPECT_GE(total, 1);
        EXPECT_LE(total, 2);
        manager->selectType(kType);
        manager->currentHandle();
    }
    scanning.store(false);
    ui.join();
    plugger.join();

    receiver->plug();
    EXPECT_EQ(manager->rescan(), 2);
}

} // namespace
} // namespace corvane::hid::testing
