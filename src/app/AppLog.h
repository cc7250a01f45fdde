#pragma once

#include <QLoggingCategory>

namespace corvane::app {

// Diagnostic lines of the application shell ("corvane.app"); nothing depends on them.
Q_DECLARE_LOGGING_CATEGORY(lcApp)

} // namespace corvane::app
