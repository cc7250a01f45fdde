#pragma once

#include "control/DecimalText.h"

namespace corvane::app {
// Shared with corvanectl: see control/DecimalText.h.
using control::leadingInt;
} // namespace corvane::app
