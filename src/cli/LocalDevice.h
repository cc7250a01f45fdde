#pragma once

#include "catalog/DeviceCatalog.h"
#include "control/requests/Request.h"

#include <QString>

#include <chrono>
#include <memory>

namespace corvane::protocol {
class DeviceWorker;
}

namespace corvane::cli {

class QuietHost;

// corvanectl's own device worker, for when no window runs: it settles the attached
// mouse (without reading its settings back: the store is what the window and
// corvanectl keep in step), runs requests, and stops. The caller holds the window's
// lock file, so no other process talks to the mice meanwhile.
class LocalDevice {
public:
    struct Setup {
        QString exeFolder;
        QString dataFolder; // with a trailing slash
        catalog::DeviceCatalog catalog;
        QString profileWord;  // interface text 61 for new profiles
        int storedDeviceType; // the window's last choice among several attached types
    };

    explicit LocalDevice(Setup setup);
    // Stops the worker and closes the store.
    ~LocalDevice();
    LocalDevice(const LocalDevice&) = delete;
    LocalDevice& operator=(const LocalDevice&) = delete;

    // Starts the worker and waits (up to `timeout`) for it to have scanned and settled
    // the mice. False when it did not finish in time.
    bool start(std::chrono::milliseconds timeout);
    // Runs one request (waiting up to `timeout` for the mouse).
    control::Answer run(const control::Request& request, std::chrono::milliseconds timeout);

private:
    Setup setup_;
    std::unique_ptr<QuietHost> host_;
    std::unique_ptr<protocol::DeviceWorker> worker_;
};

} // namespace corvane::cli
