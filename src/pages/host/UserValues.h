#pragma once
// The per-user values the pages read and write; shared with corvanectl.

#include "control/local/UserValues.h"

namespace corvane::pages {
using control::UserValues;
} // namespace corvane::pages
