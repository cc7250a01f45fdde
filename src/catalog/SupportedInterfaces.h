#pragma once

#include "catalog/DeviceCatalog.h"

namespace corvane::hid {
class DeviceManager;
}

namespace corvane::catalog {

// Replaces the device manager's table of supported interfaces with one entry per
// "mode" of the catalog, in file order.
void registerSupportedInterfaces(const DeviceCatalog& catalog, hid::DeviceManager& manager);

} // namespace corvane::catalog
