#pragma once
// The page layer declares PageMessageBoxes; the shell names it from here as well.

#include "pages/dialogs/PageMessageBoxes.h"

namespace corvane::app {
using pages::PageMessageBoxes;
}
