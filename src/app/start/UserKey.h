#pragma once

#include "control/local/UserKey.h"

namespace corvane::app {
// Shared with corvanectl: see control/local/UserKey.h.
using control::UserKey;
} // namespace corvane::app
