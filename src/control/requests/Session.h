#pragma once

#include "catalog/DeviceCatalog.h"

#include <QString>

#include <QStringList>

#include <functional>
#include <optional>

namespace corvane::protocol {
class DeviceWorker;
}

namespace corvane::control {

// What the window sees as focused now, for corvanectl focus.
struct FocusView {
    QString watcher;     // the desktop watcher's name, "session bus" once a desktop reports
                         // there; empty when nothing has reported yet
    bool paused = false; // following was paused from the tray
    QString appId;       // empty when nothing is focused
    QString instance;
    QString title;
    qint64 pid = 0;
    QStringList identities; // the names a rule can give it
    int ruleProfile = 0;    // the profile its rule names; 0 when none
    int defaultProfile = 1;
};

// Where requests run: the device worker that owns the mice (the window's, or
// corvanectl's own when no window runs) and what the requests need around it. The
// worker must have run its start task (the device settled, its store open).
struct Session {
    protocol::DeviceWorker* worker = nullptr;
    catalog::DeviceCatalog catalog;
    QString exeFolder;
    // The interface text numbered id in the language in use, and that language.
    std::function<QString(int id)> text;
    std::function<int()> lcid;
    // The window reloads the pages named by the protocol::Page bits from the store;
    // empty in corvanectl.
    std::function<void(unsigned pages)> reloadPages;
    // The window shows the current profile's name again (after a switch or a rename);
    // empty in corvanectl.
    std::function<void()> showProfileName;
    // What the window sees as focused now; empty in corvanectl (only the window follows
    // the focus).
    std::function<FocusView()> focus;
};

} // namespace corvane::control
