#include "store/LightEffect.h"

namespace corvane::store {

const std::array<LightModeDefault, 6> kLightModeDefaults = {{
    {1, u"流光", 0x003, 280},
    {2, u"呼吸", 0x813, 281},
    {3, u"常亮", 0x011, 282},
    {4, u"霓虹", 0x003, 283},
    {5, u"七彩波浪", 0x003, 284},
    {0, u"关闭", 0x000, 285},
}};

namespace {
// Red, green, blue, cyan, yellow, magenta, white as 0x00BBGGRR.
constexpr std::array<int, 7> kTemplateColours = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00,
                                                 0x00FFFF, 0xFF00FF, 0xFFFFFF};
} // namespace

LightEffect defaultLightEffect(int profile, const LightModeDefault& mode) {
    LightEffect light;
    light.profile = profile;
    light.name = QString::fromUtf16(mode.name);
    light.mode = mode.mode;
    light.brightness = 4;
    light.speed = 2;
    light.direction = 0;
    light.colorful = 1;
    light.colorIndex = 0;
    light.colorValues = kTemplateColours;
    light.configFunc = mode.configFunc;
    light.reserved = mode.textId;
    light.status = 0;
    return light;
}

} // namespace corvane::store
