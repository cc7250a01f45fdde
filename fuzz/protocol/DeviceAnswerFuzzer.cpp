// Feeds whatever a broken or hostile device might answer — report descriptors and
// reports of any length and content, failing opens, writes and reads — through a scan, the
// notification polls, transactions and GetInfo. Nothing may crash, read out of bounds or hang.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <memory>

#include "hid/DeviceManager.h"
#include "protocol/transport/ReportPacket.h"
#include "protocol/transport/Transaction.h"

namespace {

using namespace corvane;

class FuzzedHidApi final : public hid::HidApi {
public:
    struct Handle final : hid::HidDevice {};

    explicit FuzzedHidApi(FuzzedDataProvider& input) : input_(input) {}

    int init() override { return input_.ConsumeIntegralInRange(0, 15) == 0 ? -1 : 0; }
    int exit() override { return 0; }
    std::vector<hid::HidDeviceInfo> enumerate(std::uint16_t, std::uint16_t) override {
        static constexpr std::uint16_t kProducts[] = {0xC0A1, 0xC0A2, 0xC0FF};
        static constexpr std::array<std::uint16_t, 2> kUsages[] = {
            {0xFF01, 0x0010}, {0x0001, 0x0000}, {0x0001, 0x0002}, {0xFFEF, 0x0000}};
        std::vector<hid::HidDeviceInfo> entries(input_.ConsumeIntegralInRange<std::size_t>(0, 6));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            entries[i].path = "fuzz" + std::to_string(i) +
                              std::string(input_.ConsumeIntegralInRange<std::size_t>(0, 1100), 'p');
            entries[i].vendorId = 0x1209;
            entries[i].productId = input_.PickValueInArray(kProducts);
            entries[i].releaseNumber = input_.ConsumeIntegral<std::uint16_t>();
            const auto usage = input_.PickValueInArray(kUsages);
            entries[i].usagePage = usage[0];
            entries[i].usage = usage[1];
        }
        return entries;
    }
    hid::HidDevice* open_path(const std::string&) override {
        return input_.ConsumeIntegralInRange(0, 7) == 0 ? nullptr : new Handle;
    }
    int write(hid::HidDevice*, const std::uint8_t*, std::size_t length) override {
        switch (input_.ConsumeIntegralInRange(0, 7)) {
        case 0:
            return -1;
        case 1:
            return 0;
        default:
            return static_cast<int>(length);
        }
    }
    int read_timeout(hid::HidDevice*, std::uint8_t* data, std::size_t length, int) override {
        const int kind = input_.ConsumeIntegralInRange(0, 7);
        if (kind == 0 || input_.remaining_bytes() == 0) {
            return 0;
        }
        if (kind == 1) {
            return -1;
        }
        const std::vector<std::uint8_t> report = input_.ConsumeBytes<std::uint8_t>(
            input_.ConsumeIntegralInRange<std::size_t>(1, length));
        std::copy(report.begin(), report.end(), data);
        return static_cast<int>(report.size());
    }
    void close(hid::HidDevice* device) override { delete device; }
    // Any descriptor at all: the layout it gives frames the writes and filters the reads.
    int get_report_descriptor(hid::HidDevice*, std::uint8_t* buffer, std::size_t size) override {
        if (input_.ConsumeBool()) {
            return -1;
        }
        const std::vector<std::uint8_t> bytes = input_.ConsumeBytes<std::uint8_t>(
            input_.ConsumeIntegralInRange<std::size_t>(0, std::min<std::size_t>(size, 128)));
        std::copy(bytes.begin(), bytes.end(), buffer);
        return static_cast<int>(bytes.size());
    }

private:
    FuzzedDataProvider& input_;
};

hid::SupportedInterface entry(int productId, int mode, int type, const char* deviceId) {
    hid::SupportedInterface e;
    e.vendorId = 0x1209;
    e.productId = productId;
    e.mode = mode;
    e.deviceType = type;
    e.deviceId = deviceId;
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    auto api = std::make_shared<FuzzedHidApi>(input);
    hid::DeviceManager manager(api);
    manager.setInfoRetryDelay(0);
    // The input is read from this thread only: exchanges read their answers themselves
    // (and hold the notices among them) instead of an interface reader.
    manager.setBackgroundReading(false);
    manager.addSupportedInterface(entry(0xC0A1, hid::kModeWired, 7, "CV01"));
    manager.addSupportedInterface(entry(0xC0A2, hid::kModeWireless, 7, ""));

    manager.rescan();
    manager.selectType(input.ConsumeBool() ? 7 : 101);
    for (int step = 0; step < 8 && input.remaining_bytes() > 0; ++step) {
        std::array<std::uint8_t, 65> buffer{};
        int type = 0;
        switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0:
            manager.pollNotification(buffer.data(), type);
            break;
        case 1:
            manager.refreshWirelessState();
            break;
        case 2: {
            protocol::ReportPacket packet(protocol::Command::GetDpi);
            if (protocol::transact(manager, packet.data(), packet.writeLength())) {
                (void)packet.answer16(5);
            }
            break;
        }
        case 3:
            manager.openBootloader(0x1209, 0xC0A1);
            break;
        default:
            manager.selectType(input.ConsumeBool() ? 7 : 0);
            break;
        }
    }
    std::vector<hid::ConnectedDevice> list;
    manager.devicesOfCurrentType(list);
    for (const hid::ConnectedDevice& device : list) {
        if (device.deviceIdText.size() > 4) {
            __builtin_trap();
        }
    }
    return 0;
}
