#pragma once
// The device worker running on its own thread against virtual devices, with the
// installation's data/ folder as catalog and a fresh store in a temporary folder.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <thread>
#include <vector>

#include <QDir>
#include <QTemporaryDir>

#include "RecordingHost.h"
#include "catalog/DeviceCatalog.h"
#include "hid/DeviceManager.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "virtualmouse/VirtualMouse.h"

namespace corvane::protocol::testing {

// The device types of data/config.xml.
inline constexpr int kM1 = 1;   // wired and wireless, with lighting
inline constexpr int kM2 = 201; // wired only, no lighting

inline std::vector<std::uint8_t> commandCodes(const vm::VirtualDevice& device) {
    std::vector<std::uint8_t> codes;
    for (const auto& report : device.received(vm::InterfaceKind::Command)) {
        codes.push_back(report.size() > 1 ? report[1] : 0);
    }
    return codes;
}

class WorkerTest : public ::testing::Test {
protected:
    using Codes = std::vector<std::uint8_t>;

    void SetUp() override {
        ASSERT_TRUE(dataDir.isValid());
        ASSERT_TRUE(QDir(dataDir.path()).mkpath(QStringLiteral("db")));
        store().close();
        hid::DeviceManager::installHidApi(bus);
    }

    void TearDown() override {
        if (worker) {
            worker->stop();
            EXPECT_TRUE(worker->waitForExit(std::chrono::seconds(10)));
            worker.reset();
        }
        hid::DeviceManager::installHidApi(nullptr);
        store().close();
    }

    static store::ProfileDatabase& store() { return store::ProfileDatabase::instance(); }
    static hid::DeviceManager& manager() { return hid::DeviceManager::instance(); }

    static QString exeFolder() { return QStringLiteral(CORVANE_SOURCE_DIR "/data"); }

    // Short pauses: the sequences' order is under test here, not their timing.
    WorkerConfig config() const {
        WorkerConfig config;
        config.exeFolder = exeFolder();
        config.dataFolder = dataDir.path();
        config.catalog = catalog::readCatalog(exeFolder() + QStringLiteral("/config.xml"));
        config.delays.arrival = config.delays.removal = std::chrono::milliseconds(1);
        config.delays.infoRetry = config.delays.lighting = std::chrono::milliseconds(1);
        config.delays.lightingRepeat = std::chrono::milliseconds(1);
        // The catalog's server is not contacted; the update tests give their own.
        config.update.networkAllowed = false;
        return config;
    }

    void startWorker() { startWorker(config()); }
    void startWorker(WorkerConfig workerConfig) {
        worker = std::make_unique<DeviceWorker>(std::move(workerConfig), host);
        ASSERT_TRUE(worker->start());
    }

    // Queues the codes and waits until the worker has taken and run them all.
    void run(std::initializer_list<int> codes,
             std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        const std::uint64_t target = worker->tasksTaken() + codes.size();
        for (int code : codes) {
            worker->queueTask(code);
        }
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (worker->tasksTaken() < target && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_GE(worker->tasksTaken(), target) << "the worker did not finish in time";
    }

    // A barrier task, then the worker asleep again: whatever was queued or held before
    // has been handled, and nothing is left that would wake it. The marker that ends a
    // "nothing happened" check without waiting a fixed time.
    void settleAfterATask() {
        run({99});
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!worker->asleep() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_TRUE(worker->asleep()) << "the worker never went back to sleep";
    }

    // Devices of data/config.xml.
    std::shared_ptr<vm::WiredMouse> attachM1Wired(bool plugged = true) {
        vm::WiredMouseConfig mouse;
        mouse.productId = 0xC0A1;
        mouse.mouse.deviceId = "CVM1";
        return bus->addWiredMouse(mouse, plugged);
    }
    std::shared_ptr<vm::Receiver> attachM1Receiver(bool linked = true) {
        vm::ReceiverConfig receiver;
        receiver.productId = 0xC0A2;
        receiver.mouse.deviceId = "CVM1";
        receiver.linked = linked;
        return bus->addReceiver(receiver);
    }
    std::shared_ptr<vm::WiredMouse> attachM2() {
        vm::WiredMouseConfig mouse;
        mouse.productId = 0xC0B1;
        mouse.mouse.deviceId = "CVM2";
        mouse.mouse.sensorCode = 0x35;
        return bus->addWiredMouse(mouse);
    }

    int setting(int profile, const char* key) {
        return store().getSettingInt(profile, QString::fromLatin1(key));
    }

    QTemporaryDir dataDir;
    std::shared_ptr<vm::VirtualMouse> bus = std::make_shared<vm::VirtualMouse>();
    RecordingHost host;
    std::unique_ptr<DeviceWorker> worker;
};

} // namespace corvane::protocol::testing
