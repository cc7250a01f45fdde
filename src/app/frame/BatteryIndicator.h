#pragma once

#include "ui/controls/StaticText.h"

namespace corvane::app {

// The battery of the current mouse: a battery outline filled to the level, a bolt while
// charging, and the level in percent. Skin images "icon/icon_battery_bkg.png",
// "icon/icon_batteryvalue.png" (clipped to the level) and "icon/icon_charge.png" are
// used when present. Shows nothing while the level is unknown (0: a mouse on a cable
// reports no battery).
class BatteryIndicator : public ui::PassiveControl {
public:
    BatteryIndicator(int id, QWidget* parent);

    // level 0..100 (pulled into the range); status 1 means charging.
    void setBattery(int level, int status);
    int level() const { return m_level; }
    bool isCharging() const { return m_charging; }
    bool hasLevel() const { return m_level > 0; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_level = 0;
    bool m_charging = false;
};

} // namespace corvane::app
