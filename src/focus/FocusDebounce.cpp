#include "focus/FocusDebounce.h"

namespace corvane::focus {

std::int64_t FocusDebounce::changed(const FocusedApp& app, std::int64_t nowMs) {
    // A repeated report of the window that is already pending does not restart the wait.
    if (!m_waiting || !(app == m_pending)) {
        m_pending = app;
        m_since = nowMs;
        m_waiting = true;
    }
    return m_since + m_stableMs;
}

std::optional<FocusedApp> FocusDebounce::settle(std::int64_t nowMs) {
    if (!m_waiting || nowMs - m_since < m_stableMs)
        return std::nullopt;
    m_waiting = false;
    return m_pending;
}

} // namespace corvane::focus
