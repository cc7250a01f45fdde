#pragma once
// The page layer declares UserValues; the shell names it from here as well.

#include "control/local/UserValues.h"

namespace corvane::app {
// Shared with corvanectl: see control/local/UserValues.h.
using control::UserValues;
} // namespace corvane::app
