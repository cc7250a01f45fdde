#pragma once

#include "control/DeviceFileName.h"

namespace corvane::app {
// Shared with corvanectl: see control/DeviceFileName.h.
using control::deviceFileName;
} // namespace corvane::app
