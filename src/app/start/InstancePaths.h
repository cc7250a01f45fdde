#pragma once

#include "control/InstancePaths.h"

namespace corvane::app {
// Shared with corvanectl: see control/InstancePaths.h.
using control::InstancePaths;
using control::instancePaths;
using control::instancePathsFor;
} // namespace corvane::app
