#include "focus/ProfileFollower.h"

#include <QCoreApplication>

namespace corvane::focus {

ProfileFollower::ProfileFollower(Hooks hooks, int stableMs, QObject* parent)
    : QObject(parent), m_hooks(std::move(hooks)), m_debounce(stableMs) {
    m_clock.start();
    m_timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % late: 15 ms on top of the settling wait.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ProfileFollower::settle);
}

void ProfileFollower::setPaused(bool paused) {
    m_paused = paused;
}

QStringList ProfileFollower::identities(const FocusedApp& app) const {
    const QString executable =
        (app.pid > 0 && m_hooks.executableOf) ? m_hooks.executableOf(app.pid) : QString();
    return identitiesOf(app, executable);
}

void ProfileFollower::focusChanged(const FocusedApp& app) {
    m_focused = app;
    if (!app.empty() && app.pid != QCoreApplication::applicationPid())
        m_lastOther = app;
    const std::int64_t due = m_debounce.changed(app, m_clock.elapsed());
    m_timer.start(int(std::max<std::int64_t>(0, due - m_clock.elapsed())));
}

void ProfileFollower::settle() {
    const auto app = m_debounce.settle(m_clock.elapsed());
    if (!app) {
        m_timer.start(1);
        return;
    }
    emit settled(*app);
    if (m_paused || app->empty() || app->pid == QCoreApplication::applicationPid())
        return;
    if (m_hooks.holding && m_hooks.holding())
        return;
    const AppRules rules = m_hooks.rules();
    if (!hasRules(rules))
        return; // nobody asked for it: a profile chosen by hand stays
    const int profile = profileFor(rules, identities(*app));
    if (profile < 1 || profile > kRuleProfiles || profile == m_hooks.currentProfile())
        return;
    m_hooks.switchTo(profile);
    emit switched(profile, *app);
}

} // namespace corvane::focus
