#pragma once

#include <QString>

#include <functional>

namespace corvane::app {

class DeviceMainDlg;

// The documentation views that need the user's actions first, played through the pages'
// own controls: "buttons" gives a key a function on the button page; "macros" records a
// typed word into a new macro and selects one of its steps. `done` runs (on the UI
// thread) once the view shows; false when the view is not one of these.
bool prepareScreenshotView(DeviceMainDlg& window, const QString& view,
                           const std::function<void()>& done);

} // namespace corvane::app
