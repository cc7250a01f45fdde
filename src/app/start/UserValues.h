#pragma once
// The page layer declares UserValues; the shell names it from here as well.

#include "control/UserValues.h"

namespace corvane::app {
// Shared with corvanectl: see control/UserValues.h.
using control::UserValues;
} // namespace corvane::app
