#pragma once

#include "control/local/InstancePaths.h"

namespace corvane::app {
// Shared with corvanectl: see control/local/InstancePaths.h.
using control::InstancePaths;
using control::instancePaths;
using control::instancePathsFor;
} // namespace corvane::app
