#pragma once

#include "hid/DeviceManager.h"

#include <vector>

namespace corvane::app {

// How a device type is attached among the listed devices: 0 when one of its devices
// is on a cable, else 1 when one is on a receiver, else -1 (not attached).
int connectionKindOf(const std::vector<hid::ConnectedDevice>& devices, int deviceType);

} // namespace corvane::app

#include "protocol/worker/WorkerHost.h"

namespace corvane::app {

// One device list entry per device type from the attached devices (in the order the
// types first appear): the one to show when a type is attached more than once (a mouse
// on its cable and its receiver) is the first online one on a cable, else online on a
// receiver, else the first one.
std::vector<protocol::DeviceListEntry>
listEntriesByType(const std::vector<protocol::DeviceListEntry>& attached);

} // namespace corvane::app
