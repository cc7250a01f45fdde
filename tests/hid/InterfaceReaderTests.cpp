#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "ManagerFixture.h"

namespace corvane::hid::testing {
namespace {

using vm::InterfaceKind;
using Buffer = std::array<std::uint8_t, kReportBufferSize>;

using InterfaceReaders = ManagerFixture;

// The mouse's DPI button is pressed after the request went out and before its answer:
// the press is a notice (held, and the worker woken for it), never the answer, and the
// answer still reaches the exchange that waits for it.
TEST_F(InterfaceReaders, ADpiPressWhileAnExchangeWaitsIsANoticeAndTheAnswerStillArrives) {
    auto wired = bus->addWiredMouse(wiredConfig());
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);
    HidDevice* handle = manager->currentHandle();
    ASSERT_NE(handle, nullptr);
    std::atomic<int> wakes{0};
    manager->setNoticeListener([&] { ++wakes; });

    // Well inside the exchange's 50 reads of 30 ms.
    wired->delayNextAnswers(1, std::chrono::milliseconds(800));
    const std::size_t sent = wired->received().size();
    std::atomic<bool> answered{false};
    std::atomic<bool> pressedWhileWaiting{false};
    std::thread user([&] {
        ASSERT_TRUE(eventually([&] { return wired->received().size() > sent; }));
        ASSERT_TRUE(wired->pressDpiButton());
        ASSERT_TRUE(eventually([&] { return wakes.load() == 1; }));
        pressedWhileWaiting = !answered.load();
    });
    Buffer info{};
    const bool accepted = manager->readInfo(handle, info.data());
    answered = true;
    user.join();

    ASSERT_TRUE(accepted);
    EXPECT_TRUE(pressedWhileWaiting) << "the press came after the answer: nothing was shown";
    EXPECT_EQ(info[0], kGetInfoCommand);
    EXPECT_EQ(deviceIdFromInfo(info.data()), "CV01");

    EXPECT_TRUE(manager->noticeWaiting());
    Buffer notice{};
    int type = 0;
    ASSERT_TRUE(manager->pollNotification(notice.data(), type));
    EXPECT_EQ(notice[0], 0xC2);
    EXPECT_EQ(notice[1], 0x24);
    EXPECT_FALSE(manager->noticeWaiting());
}

// A mouse pulled out ends its reader at once: the poll says so, and an exchange on the
// handle fails without waiting for fifty timeouts' worth of answers.
TEST_F(InterfaceReaders, AMousePulledOutEndsItsReaderAndItsExchangesFail) {
    auto wired = bus->addWiredMouse(wiredConfig());
    ASSERT_EQ(manager->rescan(), 1);
    manager->selectType(kType);
    HidDevice* handle = manager->currentHandle();

    wired->unplug();
    Buffer buffer{};
    int type = 0;
    PollOutcome outcome = PollOutcome::Quiet;
    ASSERT_TRUE(eventually([&] {
        manager->pollNotification(buffer.data(), type, &outcome);
        return outcome == PollOutcome::Failed;
    }));
    EXPECT_FALSE(manager->readInfo(handle, buffer.data()));
    EXPECT_EQ(wired->stats(InterfaceKind::Command).writes, 1) << "only the scan's GetInfo";
    manager->closeAll();
}

// Each scan stops the readers of the handles it closes while they wait in their reads
// and reports keep coming; a read on a closed handle would be a use after free.
TEST_F(InterfaceReaders, ScansCloseEveryHandleOnlyAfterItsReaderStopped) {
    auto wired = bus->addWiredMouse(wiredConfig());
    auto receiver = bus->addReceiver(receiverConfig(true));
    std::atomic<bool> done{false};
    std::thread user([&] {
        while (!done.load()) {
            wired->pressDpiButton();
            receiver->pressDpiButton();
            std::this_thread::yield();
        }
    });
    for (int scan = 0; scan < 20; ++scan) {
        ASSERT_EQ(manager->rescan(), 2);
    }
    done = true;
    user.join();

    EXPECT_EQ(wired->stats(InterfaceKind::Command).openHandles, 1);
    EXPECT_EQ(receiver->stats(InterfaceKind::Command).openHandles, 1);
    manager->selectType(kType);
    Buffer info{};
    EXPECT_TRUE(manager->readInfo(manager->currentHandle(), info.data()));
    manager->closeAll();
    EXPECT_EQ(wired->stats(InterfaceKind::Command).openHandles, 0);
    EXPECT_EQ(receiver->stats(InterfaceKind::Command).openHandles, 0);
}

} // namespace
} // namespace corvane::hid::testing
