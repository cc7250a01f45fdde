#include "app/AppLog.h"

namespace corvane::app {

Q_LOGGING_CATEGORY(lcApp, "corvane.app")

} // namespace corvane::app
