// From a page's action to the mouse: the time from the moment a page has stored a setting
// and queues its task (task 11, the report rate) to the moment the mouse took the command
// and runs at the new rate (the virtual mouse's own reading), with the mouse current and
// the worker taking its notices as the window's does: once on its cable, once behind its
// receiver. 1000 samples each; the median and the worst are reported as counters, in
// milliseconds, and for the worst sample how long the worker waited for a CPU on the way
// (the machine busy with other work) and the worst sample with that wait taken off.
// The bench stops with an error when the worker has not settled on the
// mouse or its store is closed: the reports would then go to no mouse.
#include <benchmark/benchmark.h>

#include <vector>

#include "RunningWorker.h"

namespace {

using namespace corvane;
using namespace std::chrono_literals;
using bench::Clock;

constexpr int kSamples = 1000;

// The rate codes a page stores, and what the mouse runs with for each.
struct Rate {
    int code;
    int hz;
};
constexpr Rate kRates[] = {{4, 250}, {2, 500}};

// The page's action: the rate goes to both keys, then task 11 is queued.
void measure(benchmark::State& state, bool wireless) {
    bench::RunningWorker running(wireless);
    if (!running.problem().empty()) {
        state.SkipWithError(running.problem().c_str());
        return;
    }
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    const int profile = running.worker().state().currentProfile();
    std::vector<double> millis, withoutCpuWait;
    millis.reserve(kSamples);
    double worst = -1, worstCpuWait = 0;
    for (auto _ : state) {
        for (int i = 0; i < kSamples; ++i) {
            const Rate rate = kRates[i % 2];
            if (!database.setSetting(profile, u"report_rate", rate.code) ||
                !database.setSetting(profile, u"report_rate_wireless", rate.code)) {
                state.SkipWithError("the store did not take the rate");
                return;
            }
            const std::size_t before = running.commandsTaken();
            const std::int64_t waitedBefore = running.senderRunQueueNs();
            const Clock::time_point queued = Clock::now();
            running.worker().queueTask(protocol::DeviceTask::SendReportRate);
            bench::TakenCommand taken{};
            if (!running.waitForRate(before, rate.hz, taken, 5s)) {
                state.SkipWithError("the mouse never ran at the rate the page stored");
                return;
            }
            const double ms = std::chrono::duration<double, std::milli>(taken.at - queued).count();
            const double cpuWaitMs = double(taken.runQueueNs - waitedBefore) / 1e6;
            millis.push_back(ms);
            withoutCpuWait.push_back(ms - cpuWaitMs);
            if (ms > worst) {
                worst = ms;
                worstCpuWait = cpuWaitMs;
            }
            // The transaction ends and the worker sleeps before the next action, as
            // between two clicks of a user.
            if (!running.settle(5s)) {
                state.SkipWithError("the worker did not go back to sleep");
                return;
            }
        }
    }
    bench::reportMillis(state, millis, "");
    state.counters["worst_cpu_wait_ms"] = worstCpuWait;
    state.counters["worst_less_cpu_wait_ms"] =
        *std::max_element(withoutCpuWait.begin(), withoutCpuWait.end());
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
