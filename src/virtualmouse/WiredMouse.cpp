#include "virtualmouse/WiredMouse.h"

namespace corvane::vm {

WiredMouse::WiredMouse(std::shared_ptr<Bus> bus, const WiredMouseConfig& config)
    : MouseDevice(std::move(bus), {config.vendorId, config.productId, config.releaseNumber},
                  config.mouse, standardInterfaces(config.command, config.withBootloader),
                  config.pathTag) {}

} // namespace corvane::vm
