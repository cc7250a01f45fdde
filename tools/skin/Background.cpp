#include "Background.h"

#include "Palette.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>

namespace corvane::skin {
namespace {

// Band sizes in design pixels, the main window's own. The tab column and the frame
// around the pages are drawn by the window itself, where its layout puts them (the tab
// column is hidden on the home page, and on the right in a right-to-left language), so
// the image holds neither.
constexpr int kCaptionHeight = 64;
constexpr int kBottomHeight = 56;
constexpr int kTabColumnWidth = 190;

QColor withAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

} // namespace

namespace {

// Quantises a 16-bit-per-channel image to 8 bits with a 4 x 4 ordered dither: the
// dark, low-contrast gradients would otherwise show as bands.
QImage dithered(const QImage& deep) {
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    QImage out(deep.size(), QImage::Format_RGB32);
    const auto level = [](quint16 v, int threshold) {
        return std::min(255, int((v * 255.0 / 65535.0) + (threshold + 0.5) / 16.0));
    };
    for (int y = 0; y < deep.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgba64*>(deep.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < deep.width(); ++x) {
            const int t = kBayer[y & 3][x & 3];
            row[x] = qRgb(level(in[x].red(), t), level(in[x].green(), t), level(in[x].blue(), t));
        }
    }
    return out;
}

void paintBands(QPainter& painter, const QSize& size);

} // namespace

void paintMainBackground(QPainter& painter, const QSize& size) {
    QImage deep(size, QImage::Format_RGBA64);
    QPainter deepPainter(&deep);
    deepPainter.setRenderHint(QPainter::Antialiasing);
    paintBands(deepPainter, size);
    deepPainter.end();
    painter.drawImage(0, 0, dithered(deep));
}

namespace {

void paintBands(QPainter& painter, const QSize& size) {
    const int w = size.width();
    const int h = size.height();
    painter.setPen(Qt::NoPen);

    QLinearGradient base(0, 0, 0, h);
    base.setColorAt(0, kBackground.lighter(106));
    base.setColorAt(1, kBackground.darker(108));
    painter.fillRect(QRect(0, 0, w, h), base);

    // A faint teal glow behind the page area keeps the large dark field from looking flat.
    QRadialGradient glow(QPointF(w * 0.62, h * 0.40), w * 0.45);
    glow.setColorAt(0, withAlpha(kAccent, 22));
    glow.setColorAt(1, withAlpha(kAccent, 0));
    painter.fillRect(QRect(0, kCaptionHeight, w, h - kCaptionHeight - kBottomHeight), glow);

    // Caption and bottom bars.
    painter.fillRect(QRect(0, 0, w, kCaptionHeight), kBar);
    painter.fillRect(QRect(0, h - kBottomHeight, w, kBottomHeight), kBar);

    // Hairlines between the bands.
    painter.fillRect(QRect(0, kCaptionHeight - 1, w, 1), kPanelEdge);
    painter.fillRect(QRect(0, h - kBottomHeight, w, 1), kPanelEdge);

    // A short accent under the logo, fading out to the right.
    QLinearGradient accent(0, 0, kTabColumnWidth * 1.6, 0);
    accent.setColorAt(0, kAccent);
    accent.setColorAt(1, withAlpha(kAccent, 0));
    painter.fillRect(QRect(0, kCaptionHeight - 2, int(kTabColumnWidth * 1.6), 2), accent);
}

} // namespace

} // namespace corvane::skin
