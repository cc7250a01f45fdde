#pragma once

#include "control/names/BindingDescription.h"

namespace corvane::pages {
// Shared with corvanectl: see control/names/BindingDescription.h.
using control::describeBinding;
using control::kCopyWordText;
using control::kCustomWordText;
using control::macroBindingName;
using control::macroDisplayName;
using control::TextLookup;
} // namespace corvane::pages
