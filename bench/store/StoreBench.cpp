#include "store/ProfileDatabase.h"
#include "store/ProfileStartup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

using corvane::store::loadProfiles;
using corvane::store::MacroEvent;
using corvane::store::ProfileDatabase;
using corvane::store::ProfileStartupHooks;

namespace {

// A fresh data folder with its db subfolder; the store is closed at the end.
struct DataFolder {
    DataFolder() { QDir(dir.path()).mkpath(QStringLiteral("db")); }
    ~DataFolder() { ProfileDatabase::instance().close(); }
    QString path() const { return dir.path() + u'/'; }
    QTemporaryDir dir;
};

void BM_InsertMacroEvents200(benchmark::State& state) {
    DataFolder folder;
    ProfileDatabase& db = ProfileDatabase::instance();
    if (!db.openForDevice(folder.path(), QStringLiteral("bench"))) {
        state.SkipWithError("cannot open the store");
        return;
    }
    std::vector<MacroEvent> events(200);
    for (int i = 0; i < 200; ++i) {
        events[i] = MacroEvent{
            0, 1, i % 2 == 0 ? 1 : 2, i, 0x41 + i % 26, i / 2 * 35, QStringLiteral("Key A")};
    }
    for (auto _ : state) {
        state.PauseTiming();
        db.deleteMacroEvents(1);
        state.ResumeTiming();
        benchmark::DoNotOptimize(db.insertMacroEvents(events));
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_InsertMacroEvents200)->Unit(benchmark::kMillisecond);

// Argument 1: the factory writer stores the twenty values a device file
// gives (DPI stages and colours, rates, power and lift-off); 0: it writes none.
void BM_LoadProfilesNewFile(benchmark::State& state) {
    DataFolder folder;
    ProfileDatabase& db = ProfileDatabase::instance();
    const bool factoryValues = state.range(0) != 0;
    ProfileStartupHooks hooks{
        [] { return QStringLiteral("Profile"); },
        [&db, factoryValues](int profile) {
            if (!factoryValues) {
                return;
            }
            db.setSetting(profile, u"dpi_index", 1);
            db.setSetting(profile, u"dpi_flag", 6);
            db.setSetting(profile, u"dpi_count", 6);
            for (int stage = 0; stage < 6; ++stage) {
                db.setSetting(profile, QStringLiteral("dpi_group%1_value").arg(stage),
                              800 * (stage + 1));
                db.setSetting(profile, QStringLiteral("dpi_group%1_rgb").arg(stage),
                              0x0000FF << stage);
            }
            for (const char16_t* key : {u"report_rate", u"sleep_light", u"move_wakeup",
                                        u"move_closelight", u"button_respondtime"}) {
                db.setSetting(profile, key, 1);
            }
        }};
    for (auto _ : state) {
        state.PauseTiming();
        db.close();
        QFile::remove(folder.path() + QStringLiteral("db/bench_data1.db"));
        if (!db.openForDevice(folder.path(), QStringLiteral("bench"))) {
            state.SkipWithError("cannot create the store");
            return;
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(loadProfiles(db, hooks).currentProfile);
    }
}
BENCHMARK(BM_LoadProfilesNewFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Creating the file with its schema, which precedes loadProfiles on a new file.
void BM_CreateDatabase(benchmark::State& state) {
    DataFolder folder;
    ProfileDatabase& db = ProfileDatabase::instance();
    for (auto _ : state) {
        state.PauseTiming();
        db.close();
        QFile::remove(folder.path() + QStringLiteral("db/bench_data1.db"));
        state.ResumeTiming();
        benchmark::DoNotOptimize(db.openForDevice(folder.path(), QStringLiteral("bench")));
    }
}
BENCHMARK(BM_CreateDatabase)->Unit(benchmark::kMillisecond);

} // namespace
