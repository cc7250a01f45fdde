// Transactions per second against a virtual mouse that answers at once: what one
// exchange costs us apart from the wire.
#include <benchmark/benchmark.h>

#include <array>

#include "hid/DeviceManager.h"
#include "protocol/transport/ReportPacket.h"
#include "virtualmouse/VirtualMouse.h"

namespace {

using namespace corvane;

struct Attached {
    Attached() {
        bus = std::make_shared<vm::VirtualMouse>();
        mouse = bus->addWiredMouse();
        hid::DeviceManager::installHidApi(bus);
        hid::SupportedInterface entry;
        entry.vendorId = 0x1209;
        entry.productId = 0xC0A1;
        entry.deviceType = 7;
        entry.deviceId = "CV01";
        hid::DeviceManager::instance().addSupportedInterface(entry);
        hid::DeviceManager::instance().rescan();
        hid::DeviceManager::instance().selectType(7);
    }
    ~Attached() { hid::DeviceManager::installHidApi(nullptr); }

    std::shared_ptr<vm::VirtualMouse> bus;
    std::shared_ptr<vm::WiredMouse> mouse;
};

void transactRead(benchmark::State& state) {
    Attached attached;
    for (auto _ : state) {
        protocol::ReportPacket packet(protocol::Command::GetDpi);
        const bool ok = packet.transact();
        benchmark::DoNotOptimize(ok);
        if (!ok) {
            state.SkipWithError("transaction failed");
            break;
        }
        attached.mouse->clearLog(); // keep the mouse's log from growing without end
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(transactRead);

void transactWrite65(benchmark::State& state) {
    Attached attached;
    for (auto _ : state) {
        protocol::ReportPacket packet(protocol::Command::SetDpiColors);
        for (int b = 4; b < 22; ++b) {
            packet.setParameter(b, static_cast<std::uint8_t>(b));
        }
        const bool ok = packet.transact();
        benchmark::DoNotOptimize(ok);
        if (!ok) {
            state.SkipWithError("transaction failed");
            break;
        }
        attached.mouse->clearLog();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(transactWrite65);

// The virtual mouse alone: one write and one read on an open handle, no transaction.
void virtualMouseRoundTrip(benchmark::State& state) {
    Attached attached;
    hid::HidDevice* handle = hid::DeviceManager::instance().currentHandle();
    std::array<std::uint8_t, 65> buffer{};
    for (auto _ : state) {
        buffer.fill(0);
        buffer[1] = 0x13;
        attached.bus->write(handle, buffer.data(), 33);
        const int got = attached.bus->read_timeout(handle, buffer.data(), 33, 30);
        benchmark::DoNotOptimize(got);
        attached.mouse->clearLog();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(virtualMouseRoundTrip);

} // namespace
