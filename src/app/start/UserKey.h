#pragma once

#include "control/UserKey.h"

namespace corvane::app {
// Shared with corvanectl: see control/UserKey.h.
using control::UserKey;
} // namespace corvane::app
