#pragma once

#include <QLoggingCategory>

namespace corvane::app {

// Diagnostic lines of the application shell ("corvane.app"); nothing depends on them.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
// The device trace (what each scan found, the mouse's notices), for a support request:
// off unless asked for with QT_LOGGING_RULES="corvane.devices.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcDevices)

// Hands the device trace to lcDevices when that is switched on.
void routeDeviceTrace();

} // namespace corvane::app
