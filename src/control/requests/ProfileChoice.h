#pragma once

#include "control/requests/CommandContext.h"

namespace corvane::control {

// The profile a command names by its number; a usage error naming the profiles there
// are when no profile has that number.
bool chooseProfile(CommandContext& context, const QString& text, int& profile);

} // namespace corvane::control
