#include "virtualmouse/VirtualMouse.h"

#include "virtualmouse/ReportLog.h"

namespace corvane::vm {

namespace {

VirtualHandle* handleOf(hid::HidDevice* device) {
    return dynamic_cast<VirtualHandle*>(device);
}

} // namespace

VirtualMouse::VirtualMouse() : bus_(std::make_shared<Bus>()) {}

VirtualMouse::~VirtualMouse() {
    std::vector<std::shared_ptr<VirtualDevice>> plugged;
    {
        std::lock_guard lock(bus_->mutex);
        plugged = bus_->plugged;
        bus_->listener = nullptr;
    }
    for (const auto& device : plugged) {
        device->unplug();
    }
}

template <typename Device, typename Config>
std::shared_ptr<Device> VirtualMouse::add(const Config& config, bool plugged) {
    auto device = std::make_shared<Device>(bus_, config);
    if (plugged) {
        device->plug();
    }
    return device;
}

std::shared_ptr<WiredMouse> VirtualMouse::addWiredMouse(const WiredMouseConfig& config,
                                                        bool plugged) {
    return add<WiredMouse>(config, plugged);
}

std::shared_ptr<Receiver> VirtualMouse::addReceiver(const ReceiverConfig& config, bool plugged) {
    return add<Receiver>(config, plugged);
}

std::shared_ptr<BootloaderDevice> VirtualMouse::addBootloader(const BootloaderConfig& config,
                                                              bool plugged) {
    return add<BootloaderDevice>(config, plugged);
}

void VirtualMouse::setHotplugListener(HotplugListener listener) {
    std::lock_guard lock(bus_->mutex);
    bus_->listener = std::move(listener);
}

void VirtualMouse::failInit(bool fail) {
    std::lock_guard lock(bus_->mutex);
    failInit_ = fail;
}

int VirtualMouse::initCalls() const {
    std::lock_guard lock(bus_->mutex);
    return initCalls_;
}

int VirtualMouse::exitCalls() const {
    std::lock_guard lock(bus_->mutex);
    return exitCalls_;
}

int VirtualMouse::init() {
    std::lock_guard lock(bus_->mutex);
    ++initCalls_;
    return failInit_ ? -1 : 0;
}

int VirtualMouse::exit() {
    std::lock_guard lock(bus_->mutex);
    ++exitCalls_;
    return 0;
}

std::vector<hid::HidDeviceInfo> VirtualMouse::enumerate(std::uint16_t vendorId,
                                                        std::uint16_t productId) {
    std::lock_guard lock(bus_->mutex);
    std::vector<hid::HidDeviceInfo> entries;
    for (const auto& device : bus_->plugged) {
        device->appendEntriesLocked(entries, vendorId, productId);
    }
    return entries;
}

hid::HidDevice* VirtualMouse::open_path(const std::string& path) {
    std::shared_ptr<VirtualDevice> owner;
    {
        std::lock_guard lock(bus_->mutex);
        for (const auto& device : bus_->plugged) {
            if (device->hasPathLocked(path)) {
                owner = device;
                break;
            }
        }
    }
    // The device may go away in between; open() then finds it unplugged.
    return owner ? owner->open(path) : nullptr;
}

int VirtualMouse::write(hid::HidDevice* device, const std::uint8_t* data, std::size_t length) {
    VirtualHandle* handle = handleOf(device);
    if (!handle) {
        return -1;
    }
    const int written = handle->device->write(handle, data, length);
    if (written > 0) {
        logReceivedReport(*handle, data, length);
    }
    return written;
}

int VirtualMouse::read_timeout(hid::HidDevice* device, std::uint8_t* data, std::size_t length,
                               int milliseconds) {
    VirtualHandle* handle = handleOf(device);
    return handle ? handle->device->read(handle, data, length, milliseconds) : -1;
}

void VirtualMouse::close(hid::HidDevice* device) {
    if (VirtualHandle* handle = handleOf(device)) {
        handle->device->close(handle);
    }
}

void VirtualMouse::cancel_reads(hid::HidDevice* device) {
    if (VirtualHandle* handle = handleOf(device)) {
        handle->device->cancelReads(handle);
    }
}

int VirtualMouse::get_report_descriptor(hid::HidDevice* device, std::uint8_t* buffer,
                                        std::size_t size) {
    VirtualHandle* handle = handleOf(device);
    return handle ? handle->device->reportDescriptor(handle, buffer, size) : -1;
}

DemoSet makeDemoSet(const DemoIds& ids) {
    DemoSet demo;
    demo.bus = std::make_shared<VirtualMouse>();

    WiredMouseConfig wired;
    wired.vendorId = ids.vendorId;
    wired.productId = ids.wiredProductId;
    wired.mouse.deviceId = ids.deviceId;
    demo.wired = demo.bus->addWiredMouse(wired);

    ReceiverConfig receiver;
    receiver.vendorId = ids.vendorId;
    receiver.productId = ids.receiverProductId;
    receiver.mouse.deviceId = ids.wirelessDeviceId;
    receiver.linked = true;
    demo.receiver = demo.bus->addReceiver(receiver);
    return demo;
}

} // namespace corvane::vm
