#include "control/names/SettingNames.h"

#include "store/ValueRules.h"

#include <array>

namespace corvane::control {

namespace {

constexpr auto kSensorOptions = std::to_array<SensorOptionName>({
    {store::kSensorOptionBits[0], "ripple-control"},
    {store::kSensorOptionBits[1], "angle-snapping"},
    {store::kSensorOptionBits[2], "motion-sync"},
});

constexpr auto kLightModes = std::to_array<LightModeName>({
    {1, "flowing"},
    {2, "breathing"},
    {3, "steady"},
    {4, "neon"},
    {5, "rainbow"},
    {0, "off"},
});

} // namespace

std::span<const SensorOptionName> sensorOptionNames() {
    return kSensorOptions;
}

std::span<const LightModeName> lightModeNames() {
    return kLightModes;
}

std::optional<int> lightModeByName(QStringView name) {
    for (const LightModeName& mode : kLightModes) {
        if (name.compare(QLatin1String(mode.name), Qt::CaseInsensitive) == 0)
            return mode.mode;
    }
    return std::nullopt;
}

QString lightModeName(int mode) {
    for (const LightModeName& entry : kLightModes) {
        if (entry.mode == mode)
            return QLatin1String(entry.name);
    }
    return QStringLiteral("mode%1").arg(mode);
}

} // namespace corvane::control
