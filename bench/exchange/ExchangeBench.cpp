// Export and import of a profile with every key bound (some playing macros, which the
// file carries) and of an all-macros file of 100 macros of 100 steps, on a store file
// in a temporary folder, each import one committed store step.

#include "exchange/MacroFile.h"
#include "exchange/ProfileFile.h"
#include "store/ProfileDatabase.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace corvane;

namespace {

constexpr int kKeys = 21; // every key a button table has
constexpr int kMacros = 100;
constexpr int kStepsPerMacro = 100;

store::ProfileDatabase& db() {
    return store::ProfileDatabase::instance();
}

struct Bench {
    Bench() {
        QDir(dir.path()).mkpath(QStringLiteral("db"));
        ok = db().openForDevice(dir.path() + u'/', QStringLiteral("bench"));
    }
    ~Bench() { db().close(); }
    QString file(const char* name) const { return dir.path() + u'/' + QLatin1String(name); }

    QTemporaryDir dir;
    bool ok = false;
};

int addMacro(int number, int steps) {
    store::MacroDefinition macro;
    macro.name = QStringLiteral("Macro %1").arg(number);
    const int id = db().insertMacro(macro);
    std::vector<store::MacroEvent> events;
    for (int i = 0; i < steps; ++i) {
        events.push_back({0, id, i % 3 == 1 ? 1 : (i % 3 == 0 ? 2 : 3), i,
                          i % 3 == 1 ? 20 : 0x41 + number % 26, i, QStringLiteral("↓  A")});
    }
    db().insertMacroEvents(events);
    return id;
}

void addFullProfile() {
    store::ProfileRecord record;
    record.name = QStringLiteral("Profile 1");
    db().createProfile(record);
    db().setCurrentProfile(1);
    db().createDefaultLights(1, {true, true, true, true, true, true});
    for (int key = 0; key < kKeys; ++key) {
        store::ButtonBinding binding;
        binding.profile = 1;
        binding.keyCode = key;
        binding.macroType = key % 9 + 1;
        binding.macroValue = binding.macroType == 4 ? addMacro(key, 30) : key + 1;
        binding.macroValue2 = key % 3;
        binding.macroDesc = QStringLiteral("Key %1 <&>").arg(key);
        db().saveBinding(binding);
    }
}

exchange::ProfileExportOptions exportOptions() {
    exchange::ProfileExportOptions options;
    options.hasLighting = true;
    options.profileWord = QStringLiteral("Profile");
    options.origin = {1, QStringLiteral("Corvane M1")};
    return options;
}

void BM_ExportProfileEveryKeyBound(benchmark::State& state) {
    Bench bench;
    addFullProfile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            exchange::exportProfile(db(), 1, bench.file("p.xml"), exportOptions()));
    }
}
BENCHMARK(BM_ExportProfileEveryKeyBound)->Unit(benchmark::kMillisecond);

void BM_ImportProfileEveryKeyBound(benchmark::State& state) {
    Bench bench;
    addFullProfile();
    exchange::exportProfile(db(), 1, bench.file("p.xml"), exportOptions());
    exchange::ProfileImportOptions options;
    options.hasLighting = true;
    options.takesBinding = [](const store::ButtonBinding&) { return true; };
    for (auto _ : state) {
        const auto result = exchange::importProfile(db(), 1, bench.file("p.xml"), options);
        if (result.status != exchange::ExchangeStatus::Done) {
            state.SkipWithError("import failed");
            return;
        }
    }
}
BENCHMARK(BM_ImportProfileEveryKeyBound)->Unit(benchmark::kMillisecond);

void addAllMacros() {
    for (int m = 0; m < kMacros; ++m) {
        addMacro(m, kStepsPerMacro);
    }
}

void BM_ExportAllMacros100x100(benchmark::State& state) {
    Bench bench;
    addAllMacros();
    for (auto _ : state) {
        benchmark::DoNotOptimize(exchange::exportAllMacros(db(), bench.file("all.xml")));
    }
    state.SetItemsProcessed(state.iterations() * kMacros * kStepsPerMacro);
}
BENCHMARK(BM_ExportAllMacros100x100)->Unit(benchmark::kMillisecond);

void BM_ImportAllMacros100x100(benchmark::State& state) {
    Bench bench;
    addAllMacros();
    exchange::exportAllMacros(db(), bench.file("all.xml"));
    for (auto _ : state) {
        const auto result = exchange::importAllMacrosFile(db(), bench.file("all.xml"));
        if (result.macros.size() != kMacros) {
            state.SkipWithError("import failed");
            return;
        }
        state.PauseTiming();
        for (const exchange::ImportedMacro& macro : result.macros) {
            db().deleteMacro(macro.id);
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kMacros * kStepsPerMacro);
}
BENCHMARK(BM_ImportAllMacros100x100)->Unit(benchmark::kMillisecond);

} // namespace
