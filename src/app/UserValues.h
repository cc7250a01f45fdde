#pragma once
// The page layer declares UserValues; the shell names it from here as well.

#include "pages/UserValues.h"

namespace corvane::app {
using pages::UserValues;
}
