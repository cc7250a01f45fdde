#pragma once
// ui/access: what a screen reader reads of the controls (roles, states, values, actions);
// uses views/.

namespace corvane::ui {

// Installs the accessibility interfaces of the controls. Call once, after the application
// object exists and before windows are created; calling it again does nothing.
void installAccessibility();

} // namespace corvane::ui
