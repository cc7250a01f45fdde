#include "app/frame/DpiRule.h"

#include "app/start/AppLog.h"

namespace corvane::app {

bool shouldBeDpiAware(int width, int height, int scale) {
    return width < 1400 || height < 800 || (width == 1920 && height == 1080 && scale > 125);
}

int scaleClassOfDpi(int dpi) {
    if (dpi <= 96)
        return 100;
    if (dpi == 120)
        return 125;
    if (dpi == 144 || dpi == 168 || dpi == 192)
        return dpi;
    return 100;
}

bool logDpiDecision(int width, int height, int scale) {
    const bool aware = shouldBeDpiAware(width, height, scale);
    qCInfo(lcApp, "screen %dx%d, scale class %d: %s", width, height, scale,
           aware ? "drawn at native resolution" : "scaled by the desktop");
    return aware;
}

} // namespace corvane::app
