#pragma once
// The page layer declares MessageBoxes; the shell names it from here as well.

#include "pages/host/MessageBoxes.h"

namespace corvane::app {
using pages::MessageBoxes;
}
