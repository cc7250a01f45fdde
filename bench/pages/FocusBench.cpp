// From a focus change to the mouse: the focus moves to another application, the
// profile follower waits until it settled (300 ms) and switches the profile as a pick
// in the profile list does (the window's hook: current profile, store, task 5), and the
// worker sends the whole profile. Measured to the first command the mouse takes and to
// the moment it runs at the new profile's report rate (the virtual mouse's own reading),
// each as a total and as the time beyond the settling wait; also how late the follower's
// timer fired. Profile 3 is the game's (500 Hz), profile 1 the default (1000 Hz); each
// sample moves the focus between the game and an editor.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <vector>

#include "RunningWorker.h"
#include "focus/ProfileFollower.h"
#include "focus/StoredRules.h"

namespace {

using namespace corvane;
using namespace std::chrono_literals;
using bench::Clock;

constexpr int kSamples = 40;

double millisBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The follower's timer runs on this thread's event loop.
QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "focus_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

bool storeRules(store::ProfileDatabase& database) {
    for (int profile = 1; profile <= focus::kRuleProfiles; ++profile) {
        const int code = profile == 3 ? 2 : 1; // 500 Hz, else 1000 Hz
        if (!database.setSetting(profile, u"report_rate", code) ||
            !database.setSetting(profile, u"report_rate_wireless", code))
            return false;
    }
    return database.setProfileApps(3, QStringLiteral("steam_app_730")) &&
           database.setDefaultAppProfile(1);
}

void measure(benchmark::State& state, bool wireless) {
    application();
    bench::RunningWorker running(wireless);
    if (!running.problem().empty()) {
        state.SkipWithError(running.problem().c_str());
        return;
    }
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    if (!storeRules(database)) {
        state.SkipWithError("the store did not take the rules");
        return;
    }
    protocol::DeviceWorker& worker = running.worker();

    Clock::time_point settledAt{};
    focus::ProfileFollower::Hooks hooks;
    hooks.rules = [] { return focus::loadAppRules(store::ProfileDatabase::instance()); };
    hooks.currentProfile = [&] { return worker.state().currentProfile(); };
    // As the window's switchProfile: the worker's state, the store, then task 5.
    hooks.switchTo = [&](int profile) {
        settledAt = Clock::now();
        worker.state().setCurrentProfile(profile);
        store::ProfileDatabase::instance().setCurrentProfile(profile);
        worker.queueTask(protocol::DeviceTask::PushProfile);
    };
    focus::ProfileFollower follower(std::move(hooks));

    const focus::FocusedApp game{QStringLiteral("cs2"), QStringLiteral("steam_app_730"),
                                 QStringLiteral("Counter-Strike 2"), 4001};
    const focus::FocusedApp editor{QStringLiteral("gedit"), QStringLiteral("Gedit"),
                                   QStringLiteral("notes.txt"), 4002};
    constexpr double kDebounceMs = focus::ProfileFollower::kStableMs;
    std::vector<double> firstTotal, firstBeyond, rateTotal, rateBeyond, timerLate;
    for (auto _ : state) {
        for (int i = 0; i < kSamples; ++i) {
            const bool toGame = i % 2 == 0;
            const int hz = toGame ? 500 : 1000;
            const std::size_t before = running.commandsTaken();
            settledAt = {};
            const Clock::time_point focused = Clock::now();
            follower.focusChanged(toGame ? game : editor);

            // The event loop runs the follower's timer until the mouse runs at the rate.
            bench::TakenCommand first{}, atRate{};
            bool arrived = false;
            QEventLoop loop;
            QTimer deadline;
            deadline.setSingleShot(true);
            QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
            std::thread watcher([&] {
                arrived = running.waitForRate(before, hz, atRate, 10s) &&
                          running.waitForCommand(before, first, 0s);
                QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
            });
            deadline.start(15000);
            loop.exec();
            watcher.join();
            if (!arrived || settledAt == Clock::time_point{}) {
                state.SkipWithError("the mouse never ran at the focused application's rate");
                return;
            }
            const double first_ms = millisBetween(focused, first.at);
            const double rate_ms = millisBetween(focused, atRate.at);
            firstTotal.push_back(first_ms);
            firstBeyond.push_back(first_ms - kDebounceMs);
            rateTotal.push_back(rate_ms);
            rateBeyond.push_back(rate_ms - kDebounceMs);
            timerLate.push_back(millisBetween(focused, settledAt) - kDebounceMs);
            if (!running.settle(5s)) {
                state.SkipWithError("the worker did not go back to sleep");
                return;
            }
        }
    }
    bench::reportMillis(state, firstTotal, "first_report_");
    bench::reportMillis(state, firstBeyond, "first_report_beyond_debounce_");
    bench::reportMillis(state, rateTotal, "at_rate_");
    bench::reportMillis(state, rateBeyond, "at_rate_beyond_debounce_");
    bench::reportMillis(state, timerLate, "timer_late_");
    state.counters["samples"] = double(rateTotal.size());
}

void focusSwitchWired(benchmark::State& state) {
    measure(state, false);
}
void focusSwitchWireless(benchmark::State& state) {
    measure(state, true);
}
BENCHMARK(focusSwitchWired)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(focusSwitchWireless)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
