#include "virtualmouse/BootloaderDevice.h"

namespace corvane::vm {

BootloaderDevice::BootloaderDevice(std::shared_ptr<Bus> bus, const BootloaderConfig& config)
    : VirtualDevice(std::move(bus), {config.vendorId, config.productId, config.releaseNumber},
                    {{{InterfaceKind::Bootloader, 0xFFEF, 0x0000, kBootReportId,
                       kBootPacketLength - 1, kBootPacketLength - 1}}},
                    config.pathTag) {}

} // namespace corvane::vm
