// From a page's action to the mouse: the time from the moment a page has stored a setting
// and queues its task (task 11, the report rate) to the moment the report reaches the
// virtual mouse's HID interface, with the mouse current and the worker taking its
// notices as the window's does: once on its cable, once behind its receiver. 1000
// samples each; the median and the worst are reported as counters, in milliseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <QDir>
#include <QTemporaryDir>

#include "catalog/DeviceCatalog.h"
#include "hid/DeviceManager.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "protocol/worker/QuietWorkerHost.h"
#include "store/ProfileDatabase.h"
#include "virtualmouse/VirtualMouse.h"

namespace {

using namespace corvane;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kSamples = 1000;
constexpr std::uint8_t kSetReportRate = 0x02;

// The virtual devices, with the time each report rate command arrives noted.
class TimedBus final : public hid::HidApi {
public:
    explicit TimedBus(std::shared_ptr<vm::VirtualMouse> bus) : bus_(std::move(bus)) {}

    int init() override { return bus_->init(); }
    int exit() override { return bus_->exit(); }
    std::vector<hid::HidDeviceInfo> enumerate(std::uint16_t vendorId,
                                              std::uint16_t productId) override {
        return bus_->enumerate(vendorId, productId);
    }
    hid::HidDevice* open_path(const std::string& path) override { return bus_->open_path(path); }
    int write(hid::HidDevice* device, const std::uint8_t* data, std::size_t length) override {
        const Clock::time_point at = Clock::now();
        if (length > 1 && data[1] == kSetReportRate) {
            std::lock_guard lock(mutex_);
            arrivals_.push_back(at);
            arrived_.notify_all();
        }
        return bus_->write(device, data, length);
    }
    int read_timeout(hid::HidDevice* device, std::uint8_t* data, std::size_t length,
                     int milliseconds) override {
        return bus_->read_timeout(device, data, length, milliseconds);
    }
    void close(hid::HidDevice* device) override { bus_->close(device); }
    void cancel_reads(hid::HidDevice* device) override { bus_->cancel_reads(device); }

    // The arrival of the report rate command after `count` earlier ones.
    bool waitForArrival(std::size_t count, Clock::time_point& at) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, 5s, [&] { return arrivals_.size() > count; }))
            return false;
        at = arrivals_[count];
        return true;
    }
    std::size_t arrivals() {
        std::lock_guard lock(mutex_);
        return arrivals_.size();
    }

private:
    std::shared_ptr<vm::VirtualMouse> bus_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Clock::time_point> arrivals_;
};

class QuietHost final : public protocol::QuietWorkerHost {
public:
    QString profileWord() override { return QStringLiteral("Profile"); }
    int storedDeviceType() override { return 0; }
    void storeDeviceType(int) override {}
};

// A running worker settled on the M1 of data/config.xml, on its cable or behind its
// receiver, with a store in a temporary folder.
struct RunningWorker {
    explicit RunningWorker(bool wireless) {
        QDir(data.path()).mkpath(QStringLiteral("db"));
        if (wireless) {
            vm::ReceiverConfig config;
            config.mouse.deviceId = "CVM1";
            bus->addReceiver(config);
        } else {
            vm::WiredMouseConfig config;
            config.mouse.deviceId = "CVM1";
            bus->addWiredMouse(config);
        }
        hid::DeviceManager::installHidApi(timed);
        protocol::WorkerConfig config;
        config.exeFolder = QStringLiteral(CORVANE_BENCH_DATA_DIR);
        config.dataFolder = data.path() + u'/';
        config.catalog = catalog::readCatalog(config.exeFolder + QStringLiteral("/config.xml"));
        worker = std::make_unique<protocol::DeviceWorker>(std::move(config), host);
        worker->start();
        worker->queueTask(protocol::DeviceTask::DeviceStart);
        while (worker->tasksTaken() < 1 || worker->queuedTasks() > 0)
            std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(200ms); // the start's read-back ends
    }
    ~RunningWorker() {
        worker->stop();
        worker->waitForExit(10s);
        worker.reset();
        hid::DeviceManager::installHidApi(nullptr);
        store::ProfileDatabase::instance().close();
    }

    QTemporaryDir data;
    std::shared_ptr<vm::VirtualMouse> bus = std::make_shared<vm::VirtualMouse>();
    std::shared_ptr<TimedBus> timed = std::make_shared<TimedBus>(bus);
    QuietHost host;
    std::unique_ptr<protocol::DeviceWorker> worker;
};

// The page's action: the rate goes to both keys, then task 11 is queued.
void measure(benchmark::State& state, bool wireless) {
    RunningWorker running(wireless);
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    const int profile = running.worker->state().currentProfile();
    std::vector<double> millis;
    millis.reserve(kSamples);
    for (auto _ : state) {
        for (int i = 0; i < kSamples; ++i) {
            const int code = i % 2 ? 2 : 4;
            database.setSetting(profile, u"report_rate", code);
            database.setSetting(profile, u"report_rate_wireless", code);
            const std::size_t before = running.timed->arrivals();
            const Clock::time_point queued = Clock::now();
            running.worker->queueTask(protocol::DeviceTask::SendReportRate);
            Clock::time_point arrived;
            if (!running.timed->waitForArrival(before, arrived)) {
                state.SkipWithError("the report did not reach the mouse");
                return;
            }
            millis.push_back(std::chrono::duration<double, std::milli>(arrived - queued).count());
            // Let the transaction finish before the next action, as a user would.
            while (running.worker->queuedTasks() > 0)
                std::this_thread::sleep_for(100us);
            std::this_thread::sleep_for(wireless ? 3ms : 1ms);
        }
    }
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["worst_ms"] = millis.back();
    state.counters["samples"] = double(millis.size());
}

void pageTaskWired(benchmark::State& state) {
    measure(state, false);
}
void pageTaskWireless(benchmark::State& state) {
    measure(state, true);
}
BENCHMARK(pageTaskWired)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(pageTaskWireless)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
