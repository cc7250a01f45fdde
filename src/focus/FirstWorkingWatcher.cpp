#include "focus/FirstWorkingWatcher.h"

namespace corvane::focus {

FirstWorkingWatcher::FirstWorkingWatcher(std::vector<std::unique_ptr<FocusWatcher>> candidates,
                                         QObject* parent)
    : FocusWatcher(parent), m_candidates(std::move(candidates)) {}

bool FirstWorkingWatcher::start() {
    if (m_working)
        disconnect(m_working, nullptr, this, nullptr);
    m_working = nullptr;
    for (const auto& candidate : m_candidates) {
        // Connected before its start: some tell the focus they find while starting.
        connect(candidate.get(), &FocusWatcher::focused, this, &FocusWatcher::focused);
        connect(candidate.get(), &FocusWatcher::lost, this, &FocusWatcher::lost);
        if (candidate->start()) {
            m_working = candidate.get();
            return true;
        }
        disconnect(candidate.get(), nullptr, this, nullptr);
    }
    return false;
}

QString FirstWorkingWatcher::name() const {
    if (m_working)
        return m_working->name();
    return m_candidates.empty() ? QString() : m_candidates.front()->name();
}

} // namespace corvane::focus
