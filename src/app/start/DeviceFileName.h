#pragma once

#include "control/local/DeviceFileName.h"

namespace corvane::app {
// Shared with corvanectl: see control/local/DeviceFileName.h.
using control::deviceFileName;
} // namespace corvane::app
