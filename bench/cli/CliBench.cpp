// corvanectl set rate, run as a process against the virtual mice: its wall time on its
// own (it starts a device worker, settles the mice, sends, stops) and with a running
// window (it hands the request over the socket), and the time from its start until the
// SetReportRate report reaches the virtual mouse.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A scratch user: data, config and runtime folders of its own.
struct Scratch {
    Scratch() {
        for (const char* name : {"data", "config", "run", "home"})
            QDir(dir.path()).mkpath(QLatin1String(name));
        QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QProcessEnvironment environment(const QString& log) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("CORVANE_VIRTUAL_MOUSE_LOG"), log);
        // The window's version check at its start stays on this machine: a proxy on a
        // closed loopback port.
        for (const char* name : {"HTTPS_PROXY", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("http_proxy"), QStringLiteral("http://127.0.0.1:9"));
        env.insert(QStringLiteral("https_proxy"), QStringLiteral("http://127.0.0.1:9"));
        return env;
    }
    QTemporaryDir dir;
};

// How many SetReportRate reports (report ID 00, command 02) the log holds; a line is
// the time, the device, then the bytes.
int rateReports(const QString& log) {
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int count = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        count += parts.size() > 3 && parts[2] == "00" && parts[3] == "02";
    }
    return count;
}

// Runs corvanectl set rate; the wall time is the benchmark's, the time until the log
// shows the report goes into `toMouse`.
void setRate(benchmark::State& state, const Scratch& scratch, const QString& log, int iteration,
             double& toMouse) {
    const int before = rateReports(log);
    QProcess process;
    process.setProcessEnvironment(
        scratch.environment(scratch.dir.filePath(QStringLiteral("cli.log"))));
    const Clock::time_point start = Clock::now();
    process.start(QStringLiteral(CORVANECTL_PATH),
                  {QStringLiteral("--virtual-mouse"), QStringLiteral("set"), QStringLiteral("rate"),
                   iteration % 2 ? QStringLiteral("500") : QStringLiteral("1000")});
    bool seen = false;
    while (process.state() != QProcess::NotRunning || !seen) {
        if (!seen && rateReports(log) > before) {
            toMouse += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            seen = true;
        }
        if (process.state() == QProcess::NotRunning && !seen) {
            state.SkipWithError("the report never reached the mouse");
            return;
        }
        process.waitForFinished(1);
    }
    if (process.exitCode() != 0)
        state.SkipWithError(process.readAllStandardError().constData());
}

void BM_SetRateWithoutWindow(benchmark::State& state) {
    Scratch scratch;
    const QString log = scratch.dir.filePath(QStringLiteral("cli.log"));
    double toMouse = 0;
    int iteration = 0;
    for (auto _ : state)
        setRate(state, scratch, log, iteration++, toMouse);
    state.counters["to_mouse_ms"] = benchmark::Counter(toMouse, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SetRateWithoutWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// Starts the window with the virtual mice and waits until it listens and its start-up
// read-back is over.
void startWindow(QProcess& window, const Scratch& scratch, const QString& log) {
    window.setProcessEnvironment(scratch.environment(log));
    window.start(QStringLiteral(CORVANE_PATH), {QStringLiteral("--virtual-mouse")});
    const QString socket = scratch.dir.filePath(QStringLiteral("run/Corvane.socket"));
    const QString store =
        scratch.dir.filePath(QStringLiteral("data/Corvane Files/db/corvane_m1_data1.db"));
    QDeadlineTimer ready(60000);
    while (!(QFileInfo::exists(socket) && QFileInfo::exists(store)) && !ready.hasExpired())
        QThread::msleep(20);
    QThread::msleep(500); // the window's start-up read-back is over
}

void BM_SetRateThroughWindow(benchmark::State& state) {
    Scratch scratch;
    const QString log = scratch.dir.filePath(QStringLiteral("window.log"));
    QProcess window;
    startWindow(window, scratch, log);
    double toMouse = 0;
    int iteration = 0;
    for (auto _ : state)
        setRate(state, scratch, log, iteration++, toMouse);
    state.counters["to_mouse_ms"] = benchmark::Counter(toMouse, benchmark::Counter::kAvgIterations);
    window.kill();
    window.waitForFinished();
}
BENCHMARK(BM_SetRateThroughWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// The handover's own cost: corvanectl set rate through the window and corvanectl
// --version (its process start), run in turns so that both see the same load; the median
// of the differences of each pair, and the median of each.
void BM_HandoverOverProcessStart(benchmark::State& state) {
    Scratch scratch;
    const QString log = scratch.dir.filePath(QStringLiteral("window.log"));
    QProcess window;
    startWindow(window, scratch, log);
    auto wallMs = [](const QString& program, const QStringList& arguments,
                     const QProcessEnvironment& env, bool& ok) {
        QProcess process;
        process.setProcessEnvironment(env);
        const Clock::time_point start = Clock::now();
        process.start(program, arguments);
        ok = process.waitForFinished(30000) && process.exitCode() == 0;
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    const QProcessEnvironment env =
        scratch.environment(scratch.dir.filePath(QStringLiteral("cli.log")));
    std::vector<double> handover, start, gap;
    int iteration = 0;
    for (auto _ : state) {
        bool ok = false;
        const double through = wallMs(
            QStringLiteral(CORVANECTL_PATH),
            {QStringLiteral("--virtual-mouse"), QStringLiteral("set"), QStringLiteral("rate"),
             iteration++ % 2 ? QStringLiteral("500") : QStringLiteral("1000")},
            env, ok);
        if (!ok) {
            state.SkipWithError("corvanectl set rate failed");
            break;
        }
        const double alone =
            wallMs(QStringLiteral(CORVANECTL_PATH), {QStringLiteral("--version")}, env, ok);
        handover.push_back(through);
        start.push_back(alone);
        gap.push_back(through - alone);
    }
    window.kill();
    window.waitForFinished();
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    };
    state.counters["through_window_ms"] = median(handover);
    state.counters["process_start_ms"] = median(start);
    state.counters["gap_median_ms"] = median(gap);
}
BENCHMARK(BM_HandoverOverProcessStart)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(60);

// corvanectl --version: the cost of starting the process at all.
void BM_ProcessStart(benchmark::State& state) {
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(CORVANECTL_PATH), {QStringLiteral("--version")});
        process.waitForFinished();
    }
}
BENCHMARK(BM_ProcessStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
