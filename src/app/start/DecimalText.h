#pragma once

#include "control/names/DecimalText.h"

namespace corvane::app {
// Shared with corvanectl: see control/names/DecimalText.h.
using control::leadingInt;
} // namespace corvane::app
