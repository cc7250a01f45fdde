// CPU time of the pushes the device worker sends for a profile: the button table with a
// macro of two packets, the lighting, the DPI stages and colours, the report rate, the
// sensor and the power options, against a virtual mouse that answers at once.

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "hid/DeviceManager.h"
#include "protocol/codec/BindingType.h"
#include "protocol/codec/ButtonTable.h"
#include "protocol/codec/LightingCodec.h"
#include "protocol/codec/MacroStream.h"
#include "protocol/codec/PerformanceCodec.h"
#include "protocol/commands/ButtonCommands.h"
#include "protocol/commands/LightingCommands.h"
#include "protocol/commands/PerformanceCommands.h"
#include "store/ProfileDatabase.h"
#include "virtualmouse/VirtualMouse.h"

namespace {

using namespace corvane;
using protocol::MacroEventType;

constexpr int kType = 7;
constexpr int kMacroButton = 1;
constexpr int kPushTransactions = 9; // two macro packets and seven commands

// A wired mouse behind the process-wide device manager, and a store with one profile
// that binds a macro of ten records, has light records and performance settings.
class PushSetup {
public:
    PushSetup() {
        auto bus = std::make_shared<vm::VirtualMouse>();
        mouse = bus->addWiredMouse();
        hid::DeviceManager::installHidApi(bus);
        hid::SupportedInterface wired;
        wired.vendorId = 0x1209;
        wired.productId = 0xC0A1;
        wired.deviceType = kType;
        wired.mode = hid::kModeWired;
        wired.deviceId = QStringLiteral("CV01");
        manager().addSupportedInterface(wired);
        manager().rescan();
        manager().selectType(kType);
        const auto devices = manager().devices();
        if (!devices.empty()) {
            sensor = protocol::sensorStateFromInfo(devices.front().info);
        }

        QDir(dir.path()).mkpath(QStringLiteral("db"));
        store::ProfileDatabase& db = store::ProfileDatabase::instance();
        ready = db.openForDevice(dir.path() + u'/', QStringLiteral("bench")) && !devices.empty();
        store::ProfileRecord record;
        record.name = QStringLiteral("Profile");
        profile = db.createProfile(record);
        ready = ready && profile > 0;

        const int macroId = db.createMacro(QStringLiteral("macro"));
        std::vector<store::MacroEvent> events;
        for (int i = 0; i < 10; ++i) {
            store::MacroEvent e;
            e.macroId = macroId;
            e.index = 2 * i;
            e.type = static_cast<int>(i % 2 ? MacroEventType::KeyUp : MacroEventType::KeyDown);
            e.value = 65 + i / 2;
            events.push_back(e);
            e.index = 2 * i + 1;
            e.type = static_cast<int>(MacroEventType::Delay);
            e.value = 20;
            events.push_back(e);
        }
        db.insertMacroEvents(events);
        store::ButtonBinding binding;
        binding.profile = profile;
        binding.keyCode = kMacroButton;
        binding.macroType = static_cast<int>(protocol::BindingType::MacroCall);
        binding.macroValue = macroId;
        db.saveBinding(binding);
        binding.keyCode = 2;
        binding.macroType = static_cast<int>(protocol::BindingType::KeyboardKey);
        binding.macroValue = 4;
        binding.macroValue2 = 1;
        db.saveBinding(binding);
        db.createDefaultLights(profile, {true, true, true, true, true, true});
    }
    ~PushSetup() {
        store::ProfileDatabase::instance().close();
        hid::DeviceManager::installHidApi(nullptr);
    }

    static hid::DeviceManager& manager() { return hid::DeviceManager::instance(); }

    QTemporaryDir dir;
    std::shared_ptr<vm::WiredMouse> mouse;
    protocol::SensorState sensor;
    int profile = 0;
    bool ready = false;
};

void perTransaction(benchmark::State& state, int transactions) {
    state.counters["cpu_per_transaction"] = benchmark::Counter(
        static_cast<double>(transactions),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Everything the worker's push does: store reads, encoding and nine transactions.
void BM_FullPush(benchmark::State& state) {
    PushSetup setup;
    if (!setup.ready) {
        state.SkipWithError("no virtual mouse or store");
        return;
    }
    bool allAccepted = true;
    for (auto _ : state) {
        allAccepted &= protocol::setButtons(setup.profile, true, kMacroButton);
        allAccepted &=
            protocol::setLighting(setup.profile, 2) == protocol::LightingResult::Accepted;
        allAccepted &= protocol::setDpi(setup.profile, setup.sensor);
        allAccepted &= protocol::setDpiColors(setup.profile);
        allAccepted &= protocol::setReportRate(setup.profile);
        allAccepted &= protocol::setSensor(setup.profile);
        allAccepted &= protocol::setPower(setup.profile);
        setup.mouse->clearLog();
    }
    if (!allAccepted) {
        state.SkipWithError("a command was not accepted");
    }
    perTransaction(state, kPushTransactions);
}
BENCHMARK(BM_FullPush)->Unit(benchmark::kMicrosecond);

// Encoding alone, from values already in memory: no store, no I/O.
void BM_EncodePushes(benchmark::State& state) {
    protocol::DpiSettings dpi{6, 2, {400, 800, 1600, 3200, 12500, 30000}};
    const protocol::DpiColors colors{255, 65280, 16711680, 65535, 16711935, 16776960};
    const protocol::SensorState sensor(0x11, 6);
    std::vector<store::MacroEvent> events(20);
    for (int i = 0; i < 20; ++i) {
        events[i].type = static_cast<int>(i % 2 ? MacroEventType::Delay : MacroEventType::KeyDown);
        events[i].value = i % 2 ? 20 : 65 + i / 2;
    }
    std::vector<store::ButtonBinding> bindings(2);
    bindings[0].keyCode = kMacroButton;
    bindings[0].macroType = static_cast<int>(protocol::BindingType::MacroCall);
    bindings[0].macroValue = 1;
    bindings[1].keyCode = 2;
    bindings[1].macroType = static_cast<int>(protocol::BindingType::KeyboardKey);
    bindings[1].macroValue = 4;
    const protocol::MacroLookup macros = [](int, store::MacroDefinition& macro) {
        macro = store::MacroDefinition{};
        return true;
    };
    store::LightEffect light;
    light.mode = 2;
    light.brightness = 4;
    light.speed = 2;
    std::vector<protocol::ReportPacket> packets;
    for (auto _ : state) {
        const protocol::MacroStream stream = protocol::buildMacroStream(kMacroButton, events);
        protocol::macroPackets(stream.bytes, packets);
        benchmark::DoNotOptimize(
            protocol::encodeSetButtons(protocol::buildButtonTable(bindings, macros)));
        benchmark::DoNotOptimize(protocol::encodeSetLighting(light));
        benchmark::DoNotOptimize(protocol::encodeSetDpi(dpi, sensor));
        benchmark::DoNotOptimize(protocol::encodeSetDpiColors(colors));
        benchmark::DoNotOptimize(protocol::encodeSetReportRate(1));
        benchmark::DoNotOptimize(protocol::encodeSetSensor({1, 8}));
        benchmark::DoNotOptimize(protocol::encodeSetPower({6, 1, 1, 8}));
        benchmark::DoNotOptimize(packets.data());
    }
    perTransaction(state, kPushTransactions);
}
BENCHMARK(BM_EncodePushes)->Unit(benchmark::kMicrosecond);

} // namespace
