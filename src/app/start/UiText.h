#pragma once

#include <QString>

namespace corvane::app {

// The interface text numbered id in the language in use (empty when missing).
QString uiText(int id);

} // namespace corvane::app
