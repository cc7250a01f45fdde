#pragma once

#include <QString>

#include <array>

namespace corvane::store {

// One lighting mode of one profile (a row of t_light_data). Colours are
// 0x00BBGGRR values, red in the low byte.
struct LightEffect {
    int id = 0;
    int profile = 0;
    QString name;
    int mode = 0; // one row per (profile, mode)
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    int colorful = 0;
    int colorIndex = 0;
    std::array<int, 7> colorValues{}; // color_value1 to color_value7
    int configFunc = 0;               // which properties of the mode can be adjusted
    int reserved = 0;                 // number of the interface text naming the mode
    int status = 0;                   // 1 for the profile's current mode
};

// A lighting mode a device description may offer (its light_1 to light_6).
struct LightModeDefault {
    int mode;
    const char16_t* name; // stored with the row; the interface shows text `textId`
    int configFunc;
    int textId;
};

// light_1 to light_6, in the order their rows are written.
extern const std::array<LightModeDefault, 6> kLightModeDefaults;

// The row a profile gets for one offered mode: brightness 4, speed 2,
// direction 0, colorful 1, colour index 0, the seven template colours,
// status 0.
LightEffect defaultLightEffect(int profile, const LightModeDefault& mode);

} // namespace corvane::store
