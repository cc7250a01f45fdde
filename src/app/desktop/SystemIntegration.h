#pragma once
// The page layer declares SystemIntegration; the shell names it from here as well.

#include "pages/host/SystemIntegration.h"

namespace corvane::app {
using pages::SystemIntegration;
}
