#include "app/frame/WindowFit.h"

#include <algorithm>
#include <cmath>

namespace corvane::app {

WindowFit fitWindow(const QSize& designSize, const QSize& available, double devicePixelRatio) {
    WindowFit fit;
    if (designSize.isEmpty()) {
        fit.size = designSize;
        return fit;
    }
    const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    double scale = 1.0;
    if (available.width() > 0 && available.height() > 0) {
        scale = std::min({1.0, double(available.width()) / designSize.width(),
                          double(available.height()) / designSize.height()});
    }
    fit.scale = std::max(scale, std::min(1.0, kReadableDeviceScale / ratio));
    // Rounded down, so that the window never exceeds the area by a pixel.
    fit.size = QSize(int(std::floor(designSize.width() * fit.scale + 1e-9)),
                     int(std::floor(designSize.height() * fit.scale + 1e-9)));
    return fit;
}

} // namespace corvane::app
