#pragma once
// bus: Corvane's session-bus service, what desktop widgets and scripts reach.

#include <QString>

#include <vector>

namespace corvane::bus {

// One attached mouse as the service shows it.
struct AttachedMouse {
    int deviceType = 0;
    QString name;
    QString connection; // "cable" or "receiver"
    bool linked = false;
    bool current = false;
    bool operator==(const AttachedMouse&) const = default;
};

inline const QString kNoConnection = QStringLiteral("none");

// What the service's properties say; the window fills it from the worker's reports.
struct ServiceState {
    std::vector<AttachedMouse> mice;
    int batteryLevel = -1; // percent; -1 when the mouse reports none
    bool charging = false;
    QString connection = kNoConnection;
    int activeProfile = 0;
    int activeDpiStage = 0; // 1..6
    int activeDpi = 0;
    bool operator==(const ServiceState&) const = default;
};

} // namespace corvane::bus
