#pragma once

#include "control/UserValues.h"

namespace corvane::app {
// Shared with corvanectl: see control/UserValues.h.
using control::UserValues;
} // namespace corvane::app
