// Recording 1000 key events into a macro's list and saving the list as one store step.
#include "pages/macros/MacroRecorder.h"
#include "pages/macros/MacroStore.h"
#include "store/ProfileDatabase.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace corvane;

constexpr int kEvents = 1000;

// 1000 presses and releases recorded with recorded delays. A recording stops at 30 key
// events, so the events go in recordings of 30, each appended to the whole list.
pages::MacroEventList recordEvents(qint64& now) {
    pages::MacroEventList all;
    pages::MacroEventList chunk;
    pages::MacroRecorder recorder([&now] { return now; });
    recorder.start(chunk, pages::DelayMode::RecordedDelay, 0);
    for (int i = 0; i < kEvents; ++i) {
        const int vk = 65 + (i / 2) % 26;
        now += 37;
        const pages::InputEvent event{pages::InputKind::Keyboard, i % 2, vk, QString(QChar(vk))};
        if (recorder.record(event) == pages::MacroRecorder::Outcome::LimitReached) {
            all.insert(all.size(), chunk.entries());
            chunk.clear();
            recorder.start(chunk, pages::DelayMode::RecordedDelay, 0);
        }
    }
    recorder.stop();
    all.insert(all.size(), chunk.entries());
    return all;
}

void RecordThousandKeyEvents(benchmark::State& state) {
    qint64 now = 1000;
    for (auto _ : state) {
        pages::MacroEventList list = recordEvents(now);
        benchmark::DoNotOptimize(list.size());
    }
}
BENCHMARK(RecordThousandKeyEvents)->Unit(benchmark::kMillisecond);

void SaveThousandKeyEvents(benchmark::State& state) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("db"));
    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    db.openForDevice(dir.path() + u'/', QStringLiteral("bench"));
    const int macro = db.createMacro(QStringLiteral("bench"));
    qint64 now = 1000;
    const pages::MacroEventList list = recordEvents(now);
    for (auto _ : state) {
        if (!pages::saveMacroEvents(db, macro, list))
            state.SkipWithError("save failed");
    }
    state.counters["entries"] = list.size();
    db.close();
}
BENCHMARK(SaveThousandKeyEvents)->Unit(benchmark::kMillisecond);

} // namespace
