#pragma once
// corvanectl's names for the choices of the performance and lighting pages.

#include "store/LightEffect.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>
#include <tuple>

namespace corvane::control {

// The three sensor options (bits of sensor_flag), in the page's order.
struct SensorOptionName {
    int bit;
    const char* name;
};
std::span<const SensorOptionName> sensorOptionNames();

// Lighting modes by the interface text that names them (a light row's `reserved`).
struct LightModeName {
    int mode;
    const char* name;
};
std::span<const LightModeName> lightModeNames();
std::optional<int> lightModeByName(QStringView name);
QString lightModeName(int mode);

// A mode with colour slots takes one colour per stored colour of its row.
inline constexpr int kColourSlots =
    static_cast<int>(std::tuple_size_v<decltype(store::LightEffect::colorValues)>);

} // namespace corvane::control
