#pragma once

#include "virtualmouse/MouseDevice.h"

namespace corvane::vm {

struct WiredMouseConfig {
    std::uint16_t vendorId = 0x1209;
    std::uint16_t productId = 0xC0A1;
    std::uint16_t releaseNumber = 0x0105;
    MouseIdentity mouse;
    CommandCollection command;
    bool withBootloader = false;
    std::string pathTag; // appended to every interface path
};

// A mouse on a USB cable: mouse, keyboard and command collections (and the firmware
// loader when asked for). Create it with VirtualMouse::addWiredMouse.
class WiredMouse final : public MouseDevice {
public:
    WiredMouse(std::shared_ptr<Bus> bus, const WiredMouseConfig& config);
};

} // namespace corvane::vm
