#pragma once
// Decides which device task a device-interface arrival or removal asks for.

#include "catalog/DeviceCatalog.h"

#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace corvane::catalog {

// Device task codes this decision can give (the device worker's numbering).
constexpr int kNoDeviceTask = 0;
constexpr int kDeviceArrivedTask = 2;
constexpr int kDeviceRemovedTask = 3;

// (usage page, usage) of the HID interface at a path, or nothing when it cannot be
// examined.
using UsageLookup = std::function<std::optional<std::pair<int, int>>(const QString& path)>;
// The USB interface numbers that carry the command collection of a (vid, pid), as the
// HID enumeration showed them (the last scan's and the present one's); empty when it
// never showed that pair.
using CommandInterfaceNumbers = std::function<std::vector<int>(int vid, int pid)>;

// path: the interface text of the change, of the form "...VID_xxxx&PID_xxxx&MI_nn..."
// (compared without regard to case).
// Arrival: the first catalog mode whose "VID_xxxx&PID_xxxx" occurs in the path decides;
// the interface qualifies when usageOf reports the command collection (usage page
// 0x0001 with usage 0, or 0xFF01 with usage 0x10) and then gives kDeviceArrivedTask.
// Removal, only while idlePolling: a path holding "VID_xxxx&PID_xxxx&MI_nn" of some
// mode gives kDeviceRemovedTask when interface nn carries that pair's command
// collection (commandInterfaces; interface 2, where these mice have it, for a pair the
// enumeration never showed). Anything else gives kNoDeviceTask.
int matchDeviceChange(const QString& path, bool arrived, bool idlePolling,
                      const DeviceCatalog& catalog, const UsageLookup& usageOf,
                      const CommandInterfaceNumbers& commandInterfaces = {});

} // namespace corvane::catalog
