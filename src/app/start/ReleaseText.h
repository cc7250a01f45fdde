#pragma once

#include "control/names/ReleaseText.h"

namespace corvane::app {
// Shared with corvanectl: see control/names/ReleaseText.h.
using control::dottedVersion;
using control::releaseText;
} // namespace corvane::app
