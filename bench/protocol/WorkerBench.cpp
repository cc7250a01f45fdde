// The device worker: what a full push costs per transaction against a virtual mouse
// that answers at once, and what an idle worker costs (CPU, and how often it wakes up)
// with nothing attached, with a mouse it cannot identify, with a linked wireless mouse,
// with a receiver whose mouse is switched off and with an identified wired mouse.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <time.h>

#include <atomic>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <QDir>
#include <QTemporaryDir>

#include "catalog/DeviceCatalog.h"
#include "hid/DeviceManager.h"
#include "protocol/worker/DeviceWorker.h"
#include "protocol/worker/QuietWorkerHost.h"
#include "store/ProfileDatabase.h"
#include "virtualmouse/VirtualMouse.h"

namespace {

using namespace corvane;
using namespace std::chrono_literals;

// Times any thread of the process gave up the CPU to wait (and so woke up again).
long processWaits() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

// Process CPU time (every thread), user plus system.
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// CPU time of the calling thread.
double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A window that shows nothing. It notes the worker thread's CPU time whenever the pages
// are refreshed, which a push does first: the difference between two pushes is what
// one push cost the worker, without the benchmark's own waiting.
class QuietHost final : public protocol::QuietWorkerHost {
public:
    std::atomic<double> workerCpuAtRefresh{0};

    QString profileWord() override { return QStringLiteral("Profile"); }
    int storedDeviceType() override { return 0; }
    void storeDeviceType(int) override {}
    void refreshPages(unsigned) override { workerCpuAtRefresh = threadCpuSeconds(); }
};

// A running worker over a virtual bus and a store in a temporary folder.
struct RunningWorker {
    explicit RunningWorker(bool attachMouse)
        : RunningWorker([attachMouse](RunningWorker& self) {
              if (attachMouse) {
                  vm::WiredMouseConfig config;
                  config.mouse.deviceId = "CVM1";
                  self.mouse = self.bus->addWiredMouse(config);
              }
          }) {}
    explicit RunningWorker(const std::function<void(RunningWorker&)>& attach) {
        QDir(data.path()).mkpath(QStringLiteral("db"));
        attach(*this);
        hid::DeviceManager::installHidApi(bus);
        protocol::WorkerConfig config;
        config.exeFolder = QStringLiteral(CORVANE_BENCH_DATA_DIR);
        config.dataFolder = data.path();
        config.catalog = catalog::readCatalog(config.exeFolder + QStringLiteral("/config.xml"));
        config.update.networkAllowed = false; // measured without the server
        worker = std::make_unique<protocol::DeviceWorker>(std::move(config), host);
        worker->start();
        runTask(protocol::DeviceTask::DeviceStart);
    }
    ~RunningWorker() {
        worker->stop();
        worker->waitForExit(10s);
        worker.reset();
        hid::DeviceManager::installHidApi(nullptr);
        store::ProfileDatabase::instance().close();
    }
    void runTask(int code) {
        const std::uint64_t target = worker->tasksTaken() + 1;
        worker->queueTask(code);
        while (worker->tasksTaken() < target) {
            std::this_thread::sleep_for(50us);
        }
    }

    QTemporaryDir data;
    std::shared_ptr<vm::VirtualMouse> bus = std::make_shared<vm::VirtualMouse>();
    std::shared_ptr<vm::WiredMouse> mouse;
    QuietHost host;
    std::unique_ptr<protocol::DeviceWorker> worker;
};

// Task 5 end to end: store reads, encoding and seven transactions (the lighting mode
// included), on the worker thread.
void workerPush(benchmark::State& state) {
    RunningWorker running(true);
    store::ProfileDatabase::instance().createDefaultLights(1, {true, true, true, true, true, true});
    running.mouse->clearLog();
    running.runTask(protocol::DeviceTask::PushProfile);
    running.mouse->clearLog();
    const double workerCpuBefore = running.host.workerCpuAtRefresh;
    std::size_t transactions = 0;
    for (auto _ : state) {
        running.runTask(protocol::DeviceTask::PushProfile);
        transactions += running.mouse->received().size();
        running.mouse->clearLog();
    }
    // Up to the start of the push after the last one measured.
    running.runTask(protocol::DeviceTask::PushProfile);
    const double workerCpu = running.host.workerCpuAtRefresh - workerCpuBefore;
    state.counters["transactions_per_push"] =
        static_cast<double>(transactions) / static_cast<double>(state.iterations());
    state.counters["worker_cpu_us_per_transaction"] =
        transactions ? workerCpu * 1e6 / static_cast<double>(transactions) : 0.0;
}
BENCHMARK(workerPush)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);

// What is attached while the worker idles.
enum Attached : int { Nothing, UnidentifiedMouse, LinkedWireless, UnlinkedWireless, WiredMouse };

void attach(RunningWorker& running, Attached what) {
    switch (what) {
    case Nothing:
        break;
    case WiredMouse: {
        vm::WiredMouseConfig config;
        config.mouse.deviceId = "CVM1";
        running.bus->addWiredMouse(config);
        break;
    }
    case UnidentifiedMouse: {
        vm::WiredMouseConfig config;
        config.mouse.deviceId = "ZZZZ"; // a supported pair, an identifier nobody lists
        running.bus->addWiredMouse(config);
        break;
    }
    case LinkedWireless:
    case UnlinkedWireless: {
        vm::ReceiverConfig config;
        config.mouse.deviceId = "CVM1";
        config.linked = what == LinkedWireless;
        running.bus->addReceiver(config);
        break;
    }
    }
}

// Five seconds of a started worker with nothing queued. wakes_per_s counts the worker's
// steps; process_wakes_per_s every wait of any thread of the process (the interface
// readers' included), less the benchmark's own sleep.
void idleWorker(benchmark::State& state) {
    const auto what = static_cast<Attached>(state.range(0));
    RunningWorker running([what](RunningWorker& self) { attach(self, what); });
    std::this_thread::sleep_for(1s); // the start's read-back and firmware check end
    // An identified mouse must be current, or the idle figures are those of no mouse.
    const bool identified = what == LinkedWireless || what == WiredMouse;
    if (identified && (running.worker->state().currentDeviceType() != 1 ||
                       !store::ProfileDatabase::instance().isOpen())) {
        state.SkipWithError("the worker did not settle on the mouse");
        return;
    }
    double cpu = 0;
    std::uint64_t wakes = 0;
    long waits = 0;
    for (auto _ : state) {
        const double before = processCpuSeconds();
        const std::uint64_t stepsBefore = running.worker->steps();
        const long waitsBefore = processWaits();
        std::this_thread::sleep_for(5s);
        waits += processWaits() - waitsBefore - 1;
        cpu += processCpuSeconds() - before;
        wakes += running.worker->steps() - stepsBefore;
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["cpu_ms_per_5s"] = cpu * 1e3 / iterations;
    state.counters["wakes_per_s"] = static_cast<double>(wakes) / (5.0 * iterations);
    state.counters["process_wakes_per_s"] = static_cast<double>(waits) / (5.0 * iterations);
}
BENCHMARK(idleWorker)
    ->ArgName("attached")
    ->Arg(Nothing)
    ->Arg(UnidentifiedMouse)
    ->Arg(LinkedWireless)
    ->Arg(UnlinkedWireless)
    ->Arg(WiredMouse)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

// How long stop() takes while the worker waits for answers that never come: a start
// scanning two silent mice (each GetInfo would wait 1.5 s). The tests only check that
// the stop ends within its own bound; this measures it.
void stopDuringSilentScan(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir data;
        QDir(data.path()).mkpath(QStringLiteral("db"));
        auto bus = std::make_shared<vm::VirtualMouse>();
        std::vector<std::shared_ptr<vm::WiredMouse>> silent;
        for (const char* id : {"CVM1", "CVM2"}) {
            vm::WiredMouseConfig config;
            config.mouse.deviceId = id;
            silent.push_back(bus->addWiredMouse(config));
            silent.back()->dropNextAnswers(1000);
        }
        hid::DeviceManager::installHidApi(bus);
        protocol::WorkerConfig config;
        config.exeFolder = QStringLiteral(CORVANE_BENCH_DATA_DIR);
        config.dataFolder = data.path();
        config.catalog = catalog::readCatalog(config.exeFolder + QStringLiteral("/config.xml"));
        config.update.networkAllowed = false;
        QuietHost host;
        auto worker = std::make_unique<protocol::DeviceWorker>(std::move(config), host);
        worker->start();
        worker->queueTask(protocol::DeviceTask::DeviceStart);
        while (silent.front()->received().empty()) {
            std::this_thread::sleep_for(50us);
        }
        state.ResumeTiming();
        const bool ended = worker->stop();
        state.PauseTiming();
        if (!ended) {
            state.SkipWithError("the stop did not end the worker in its time");
        }
        worker->waitForExit(10s);
        worker.reset();
        hid::DeviceManager::installHidApi(nullptr);
        store::ProfileDatabase::instance().close();
        state.ResumeTiming();
    }
}
BENCHMARK(stopDuringSilentScan)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
