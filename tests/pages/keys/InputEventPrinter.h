#pragma once
// Readable InputEvents in test failure messages.

#include "pages/keys/InputEvent.h"

#include <ostream>

namespace corvane::pages {

inline void PrintTo(const InputEvent& e, std::ostream* os) {
    *os << "{kind " << e.kind << ", released " << e.released << ", vk " << e.virtualKey << ", \""
        << e.name.toStdString() << "\"}";
}

} // namespace corvane::pages
