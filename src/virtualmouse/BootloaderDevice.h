#pragma once

#include "virtualmouse/VirtualDevice.h"

namespace corvane::vm {

struct BootloaderConfig {
    std::uint16_t vendorId = 0x1209;
    std::uint16_t productId = 0xC0A1;
    std::uint16_t releaseNumber = 0x0001;
    std::string pathTag;
};

// A device that shows only the firmware loader's interface (usage page 0xFFEF), as a
// mouse does while it waits for new firmware. Create it with VirtualMouse::addBootloader.
class BootloaderDevice final : public VirtualDevice {
public:
    BootloaderDevice(std::shared_ptr<Bus> bus, const BootloaderConfig& config);

protected:
    std::optional<InputReport> answerLocked(const CommandBody&) override { return std::nullopt; }
};

} // namespace corvane::vm
