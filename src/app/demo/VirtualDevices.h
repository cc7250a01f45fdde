#pragma once

#include "virtualmouse/ProgramDemo.h"

namespace corvane::app {
// Shared with corvanectl: see virtualmouse/ProgramDemo.h.
using vm::installVirtualDevices;
using vm::makeVirtualDevices;
using vm::VirtualDeviceSet;
} // namespace corvane::app
