#include "app/desktop/BatteryAlerts.h"

namespace corvane::app {

std::optional<int> BatteryAlerts::report(int level, bool charging) {
    if (level <= 0)
        return std::nullopt;
    if (charging || level >= kRearmLevel) {
        lowestTold = 101;
        return std::nullopt;
    }
    std::optional<int> due;
    for (int mark : kMarks) {
        if (level <= mark && mark < lowestTold)
            due = mark; // the marks run downwards: the last one passed is the lowest
    }
    if (due)
        lowestTold = *due;
    return due;
}

} // namespace corvane::app
