#pragma once

#include "focus/FocusedApp.h"

#include <cstdint>
#include <optional>

namespace corvane::focus {

// Lets a focus change count only once the focus stayed on one application for a while:
// Alt+Tab through five windows settles once, on the last. Times are in milliseconds of
// a steady clock the caller keeps.
class FocusDebounce {
public:
    explicit FocusDebounce(std::int64_t stableMs) : m_stableMs(stableMs) {}

    // The focus moved at nowMs; the time from which settle() gives it.
    std::int64_t changed(const FocusedApp& app, std::int64_t nowMs);
    // The application that has held the focus for the stable time by nowMs, once for
    // each change; nothing before that, or when it was already given.
    std::optional<FocusedApp> settle(std::int64_t nowMs);

private:
    std::int64_t m_stableMs;
    FocusedApp m_pending;
    std::int64_t m_since = 0;
    bool m_waiting = false;
};

} // namespace corvane::focus
