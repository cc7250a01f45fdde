#include "app/start/AppLog.h"

#include "hid/Trace.h"

namespace corvane::app {

Q_LOGGING_CATEGORY(lcApp, "corvane.app")
Q_LOGGING_CATEGORY(lcDevices, "corvane.devices", QtWarningMsg)

void routeDeviceTrace() {
    if (!lcDevices().isDebugEnabled()) {
        hid::setTraceSink({});
        return;
    }
    hid::setTraceSink([](int, std::string_view line) {
        qCDebug(lcDevices, "%.*s", int(line.size()), line.data());
    });
}

} // namespace corvane::app
