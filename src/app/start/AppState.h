#pragma once

#include <QString>

#include <atomic>
#include <map>

namespace corvane::app {

// Process-wide facts settled at start-up. deviceName, supportedLanguages and themeName
// are written before the main window exists and only read afterwards; currentLcid may
// change later (language choice on the UI thread) while the device worker reads it.
struct AppState {
    static constexpr int initialLcid = 2052;

    // The product caption (config.xml software/caption); empty until read.
    QString deviceName;
    // Offered languages, LCID -> enabled (always true), in LCID order.
    std::map<int, bool> supportedLanguages;
    std::atomic<int> currentLcid{initialLcid};
    // Names the skin folder below skins/.
    QString themeName = QStringLiteral("default");

    bool offers(int lcid) const { return supportedLanguages.count(lcid) != 0; }
};

// The one state of the running program.
AppState& appState();

} // namespace corvane::app
