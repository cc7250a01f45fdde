#include "catalog/SupportedInterfaces.h"

#include "hid/DeviceManager.h"

namespace corvane::catalog {

void registerSupportedInterfaces(const DeviceCatalog& catalog, hid::DeviceManager& manager) {
    manager.clearSupported();
    for (const DeviceMode& mode : catalog.modes) {
        hid::SupportedInterface entry;
        entry.vendorId = mode.vid;
        entry.productId = mode.pid;
        entry.deviceType = mode.device.deviceType;
        entry.mode = mode.mode;
        entry.deviceId = mode.devId;
        manager.addSupportedInterface(entry);
    }
}

} // namespace corvane::catalog
