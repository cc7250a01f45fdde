// The profile follows the focused application: the session's focus watcher reports each
// change, the follower waits until the focus settles and asks for the profile a rule
// names, which is switched as a pick in the profile list would.

#include "app/start/AppLog.h"
#include "app/window/DeviceMainDlg.h"
#include "focus/FocusWatcher.h"
#include "focus/ProcessName.h"
#include "focus/ProfileFollower.h"
#include "focus/StoredRules.h"
#include "focus/WatcherChoice.h"
#include "store/ProfileDatabase.h"

#include <QProcessEnvironment>

namespace corvane::app {

void DeviceMainDlg::startFocusFollowing() {
    // The follower exists without a watcher too: the session-bus service's ReportFocus
    // feeds it on desktops whose focus only a script or extension can see.
    focus::ProfileFollower::Hooks hooks;
    hooks.rules = [] { return focus::loadAppRules(store::ProfileDatabase::instance()); };
    hooks.currentProfile = [this] { return currentProfile(); };
    hooks.switchTo = [this](int profile) { switchProfile(profile); };
    hooks.holding = [this] { return pageHoldsProfile(); };
    hooks.executableOf = focus::executableName;
    m_follower = std::make_unique<focus::ProfileFollower>(std::move(hooks));
    connect(m_follower.get(), &focus::ProfileFollower::settled, this,
            &DeviceMainDlg::rememberFocusedApp);

    std::unique_ptr<focus::FocusWatcher> watcher =
        m_context.focusWatcher
            ? m_context.focusWatcher()
            : focus::watcherForSession(QProcessEnvironment::systemEnvironment(),
                                       m_context.exeFolder +
                                           QStringLiteral("/kwin/corvane-focus.js"));
    if (!watcher)
        return;
    if (!watcher->start()) {
        qCInfo(lcApp) << "the focused application cannot be followed: no connection to"
                      << watcher->name();
        return;
    }
    connect(watcher.get(), &focus::FocusWatcher::focused, this,
            [this](const focus::FocusedApp& app) {
                if (!m_focusFromBus && m_follower)
                    m_follower->focusChanged(app);
            });
    connect(watcher.get(), &focus::FocusWatcher::lost, this, [name = watcher->name()] {
        qCInfo(lcApp) << name << "closed the connection: the profile no longer follows the focus";
    });
    m_focusWatcher = std::move(watcher);
}

// On GNOME's Wayland session the X11 watcher sees only XWayland windows: when a native
// window takes the focus it reports nothing focused, which within the debounce would cancel
// the extension's report of that very window. Once a desktop reports over the bus, it alone
// is followed.
void DeviceMainDlg::takeFocusFromBus() {
    if (m_focusFromBus)
        return;
    m_focusFromBus = true;
    if (m_focusWatcher)
        qCInfo(lcApp) << "the focus is reported over the session bus: from now on only those"
                      << "reports are followed";
}

control::FocusView DeviceMainDlg::focusView() const {
    control::FocusView view;
    if (m_focusFromBus)
        view.watcher = QStringLiteral("session bus");
    else if (m_focusWatcher)
        view.watcher = m_focusWatcher->name();
    if (!m_follower)
        return view;
    view.paused = m_follower->paused();
    const focus::FocusedApp app = m_follower->focusedNow();
    view.appId = app.appId;
    view.instance = app.instance;
    view.title = app.title;
    view.pid = app.pid;
    if (app.empty())
        return view;
    view.identities = m_follower->identities(app);
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    if (currentDeviceType() != 0 && database.isOpen()) {
        const focus::AppRules rules = focus::loadAppRules(database);
        view.ruleProfile = focus::ruleProfileFor(rules, view.identities);
        view.defaultProfile = rules.defaultProfile;
    }
    return view;
}

bool DeviceMainDlg::pageHoldsProfile() const {
    for (const auto& page : m_pages) {
        if (page && page->holdsProfile())
            return true;
    }
    return false;
}

} // namespace corvane::app
