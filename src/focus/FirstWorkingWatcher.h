#pragma once

#include "focus/FocusWatcher.h"

#include <memory>
#include <vector>

namespace corvane::focus {

// Several ways to watch one session, tried in order at start: the first that connects is
// kept and speaks for all. A Wayland compositor without a window list of its own still
// runs XWayland, whose windows the X11 watcher sees.
class FirstWorkingWatcher : public FocusWatcher {
    Q_OBJECT
public:
    explicit FirstWorkingWatcher(std::vector<std::unique_ptr<FocusWatcher>> candidates,
                                 QObject* parent = nullptr);

    bool start() override;
    // The working watcher's name; before start (or when none works), the first's.
    QString name() const override;

private:
    std::vector<std::unique_ptr<FocusWatcher>> m_candidates;
    FocusWatcher* m_working = nullptr;
};

} // namespace corvane::focus
