#include "app/start/ProcessObjects.h"

#include "hid/DeviceManager.h"
#include "store/ProfileDatabase.h"

#include <cstdio>
#include <cstdlib>

namespace corvane::app {

ProcessObjects::~ProcessObjects() {
    if (!released_)
        release(std::chrono::milliseconds(0));
}

void ProcessObjects::watchWorker(ExitWaiter waiter) {
    worker_ = std::move(waiter);
}

bool ProcessObjects::release(std::chrono::milliseconds wait) {
    if (released_)
        return true;
    if (worker_ && !worker_(wait))
        return false;
    worker_ = {};
    hid::DeviceManager::resetInstance();
    store::ProfileDatabase::instance().close();
    released_ = true;
    return true;
}

void ProcessObjects::endAtOnce(int exitCode) {
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace corvane::app
