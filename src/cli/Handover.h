#pragma once

#include "catalog/DeviceCatalog.h"
#include "control/local/InstancePaths.h"
#include "control/requests/Request.h"

#include <QString>

#include <functional>

namespace corvane::cli {

struct Installation {
    QString exeFolder;
    QString deviceName; // the product caption of config.xml
    std::optional<int> defaultLanguage;
    catalog::DeviceCatalog catalog;
};

// Runs a request where the mouse is: handed to the running window over its socket, or
// with corvanectl's own worker while it holds the window's lock file. Waits a few
// seconds for a window that is starting or another corvanectl before giving up.
control::Answer runRequest(const Installation& installation, const control::InstancePaths& paths,
                           const control::Request& request, bool virtualMouse);

} // namespace corvane::cli
