#pragma once

#include <optional>

namespace corvane::app {

// When a wireless mouse's battery is worth a desktop notification: as it falls to 15 %
// and to 5 %, once each per discharge. Charging (or a fresh battery, seen as a level of
// 50 % or more) starts a new discharge. A first level already below a mark tells once,
// with the lowest mark it passed.
class BatteryAlerts {
public:
    static constexpr int kMarks[] = {15, 5};
    static constexpr int kRearmLevel = 50;

    // The mark to tell about now for this report, if any. A level of 0 or less is no
    // reading (a wired mouse, an unlinked one) and changes nothing.
    std::optional<int> report(int level, bool charging);

private:
    int lowestTold = 101; // the lowest mark told in this discharge; 101: none yet
};

} // namespace corvane::app
