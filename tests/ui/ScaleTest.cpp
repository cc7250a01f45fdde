// Drawn for the pixels of the device: on a display scaled to 200 % a control shows as
// much detail as it has pixels, not a 100 % picture blown up.
#include "UiTest.h"

#include "ui/views/ColourPalette.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <set>

namespace corvane::ui::test {
namespace {

// The number of different colours along the middle row of the widget drawn at `ratio`.
int coloursAcross(QWidget& widget, qreal ratio) {
    QImage image(widget.size() * ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    widget.render(&image);
    std::set<QRgb> colours;
    const int y = image.height() / 2;
    for (int x = 0; x < image.width(); ++x)
        colours.insert(image.pixel(x, y));
    return int(colours.size());
}

TEST(ScaleTest, ThePaletteIsDrawnForEveryPixelAtTwiceTheScale) {
    auto d =
        showDialog([](RecordingDialog& r) { r.add<ColourPalette>(1, QRect(10, 10, 170, 160)); });
    auto* palette = d->find<ColourPalette>(1);
    const int single = coloursAcross(*palette, 1.0);
    const int doubled = coloursAcross(*palette, 2.0);
    EXPECT_GT(single, 100);
    EXPECT_GT(doubled, single * 17 / 10) << "a 100 % field stretched shows no new colours";
}

} // namespace
} // namespace corvane::ui::test
