#pragma once

#include "catalog/DeviceCatalog.h"

#include <QString>

#include <functional>

namespace corvane::protocol {
class DeviceWorker;
}

namespace corvane::control {

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
};

} // namespace corvane::control
