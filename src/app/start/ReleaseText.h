#pragma once

#include "control/ReleaseText.h"

namespace corvane::app {
// Shared with corvanectl: see control/ReleaseText.h.
using control::dottedVersion;
using control::releaseText;
} // namespace corvane::app
