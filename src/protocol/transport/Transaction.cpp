#include "protocol/transport/Transaction.h"

#include "hid/ReportExchange.h"

namespace corvane::protocol {

bool transact(hid::DeviceManager& manager, std::uint8_t* buffer, std::size_t length) {
    if (!buffer || (length != hid::kShortReportLength && length != hid::kLongReportLength) ||
        !manager.isReady()) {
        return false;
    }
    hid::HidDevice* handle = manager.currentHandle();
    if (!handle) {
        return false;
    }
    hid::storeRequestChecksum(buffer);
    return manager.exchange(handle, buffer, length);
}

bool transact(std::uint8_t* buffer, std::size_t length) {
    return transact(hid::DeviceManager::instance(), buffer, length);
}

bool readInfo(hid::DeviceManager& manager, hid::HidDevice* handle, std::uint8_t* info) {
    return manager.readInfo(handle, info);
}

bool readInfo(hid::HidDevice* handle, std::uint8_t* info) {
    return readInfo(hid::DeviceManager::instance(), handle, info);
}

} // namespace corvane::protocol
