#pragma once

#include <memory>

#include "hid/HidApi.h"
#include "virtualmouse/BootloaderDevice.h"
#include "virtualmouse/Receiver.h"
#include "virtualmouse/WiredMouse.h"

namespace corvane::vm {

// The HID library with virtual devices attached in place of the hardware. Devices are
// made here and plugged in at once unless asked otherwise; they can be plugged and
// unplugged at any time from any thread while another thread does I/O.
//
// Timing follows hidapi: read_timeout waits up to its timeout for a report, and an
// answer that was not read in time stays queued for the next read on that handle.
// Devices answer at once unless a fault says otherwise. Like hidapi's hidraw back end,
// the enumeration lists a node once per top-level collection, writes reach the device
// exactly as given and reads give reports as the node delivers them (VirtualDevice.h).
class VirtualMouse final : public hid::HidApi {
public:
    VirtualMouse();
    // Unplugs every device.
    ~VirtualMouse() override;
    VirtualMouse(const VirtualMouse&) = delete;
    VirtualMouse& operator=(const VirtualMouse&) = delete;

    std::shared_ptr<WiredMouse> addWiredMouse(const WiredMouseConfig& config = {},
                                              bool plugged = true);
    std::shared_ptr<Receiver> addReceiver(const ReceiverConfig& config = {}, bool plugged = true);
    std::shared_ptr<BootloaderDevice> addBootloader(const BootloaderConfig& config = {},
                                                    bool plugged = true);

    // Told of every interface that arrives or goes away (path, arrived), outside any lock.
    void setHotplugListener(HotplugListener listener);

    // Makes init() fail, as on a system without a usable HID layer.
    void failInit(bool fail = true);
    int initCalls() const;
    int exitCalls() const;

    // hid::HidApi
    int init() override;
    int exit() override;
    std::vector<hid::HidDeviceInfo> enumerate(std::uint16_t vendorId,
                                              std::uint16_t productId) override;
    hid::HidDevice* open_path(const std::string& path) override;
    int write(hid::HidDevice* device, const std::uint8_t* data, std::size_t length) override;
    int read_timeout(hid::HidDevice* device, std::uint8_t* data, std::size_t length,
                     int milliseconds) override;
    void close(hid::HidDevice* device) override;
    void cancel_reads(hid::HidDevice* device) override;
    int get_report_descriptor(hid::HidDevice* device, std::uint8_t* buffer,
                              std::size_t size) override;

private:
    template <typename Device, typename Config>
    std::shared_ptr<Device> add(const Config& config, bool plugged);

    std::shared_ptr<Bus> bus_;
    bool failInit_ = false;
    int initCalls_ = 0;
    int exitCalls_ = 0;
};

// The ready-made set for trying the program without hardware: one wired mouse and one
// receiver whose wireless mouse is linked, both reporting `deviceId`.
struct DemoIds {
    std::uint16_t vendorId = 0x1209;
    std::uint16_t wiredProductId = 0xC0A1;
    std::uint16_t receiverProductId = 0xC0A2;
    std::string deviceId = "CV01";
    std::string wirelessDeviceId = "CV01";
};

struct DemoSet {
    std::shared_ptr<VirtualMouse> bus;
    std::shared_ptr<WiredMouse> wired;
    std::shared_ptr<Receiver> receiver;
};

DemoSet makeDemoSet(const DemoIds& ids);

} // namespace corvane::vm
