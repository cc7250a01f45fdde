#include "Mark.h"

#include "Canvas.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QtMath>

#include <algorithm>
#include <functional>

namespace corvane::skin {
namespace {

// One band of the mark in polar form around the box centre, in units of a 100-unit
// box: angles in degrees (counter-clockwise from the right, screen y pointing down),
// radii as functions of the angle so that ends can taper.
struct Band {
    qreal from;
    qreal to;
    std::function<qreal(qreal)> innerRadius;
    std::function<qreal(qreal)> outerRadius;
};

QPointF polar(QPointF centre, qreal radius, qreal degrees) {
    const qreal a = qDegreesToRadians(degrees);
    return centre + QPointF(radius * qCos(a), -radius * qSin(a));
}

QPainterPath bandPath(const Band& band, QPointF centre, qreal unit) {
    constexpr int kSteps = 90;
    QPainterPath path;
    for (int i = 0; i <= kSteps; ++i) {
        const qreal a = band.from + (band.to - band.from) * i / kSteps;
        const QPointF p = polar(centre, band.outerRadius(a) * unit, a);
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    for (int i = kSteps; i >= 0; --i) {
        const qreal a = band.from + (band.to - band.from) * i / kSteps;
        path.lineTo(polar(centre, band.innerRadius(a) * unit, a));
    }
    path.closeSubpath();
    return path;
}

qreal smoothStep(qreal edge0, qreal edge1, qreal x) {
    const qreal t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Lowercase letters of the word, each drawn from strokes; every function adds its
// strokes at x and returns the advance to the next letter.
struct Pen {
    QPainterPath& path;
    qreal baseline;
    qreal h; // x-height
};

qreal letterC(Pen& p, qreal x) {
    const qreal capHeight = p.h * 1.38;
    const qreal rx = capHeight * 0.44;
    const QRectF box(x, p.baseline - capHeight, 2 * rx, capHeight);
    p.path.arcMoveTo(box, 48);
    p.path.arcTo(box, 48, 264);
    return 2 * rx;
}

qreal letterO(Pen& p, qreal x) {
    p.path.addEllipse(QRectF(x, p.baseline - p.h, p.h, p.h));
    return p.h;
}

qreal letterR(Pen& p, qreal x) {
    p.path.moveTo(x, p.baseline);
    p.path.lineTo(x, p.baseline - p.h);
    p.path.moveTo(x, p.baseline - p.h * 0.42);
    p.path.cubicTo(x, p.baseline - p.h * 0.9, x + p.h * 0.22, p.baseline - p.h, x + p.h * 0.58,
                   p.baseline - p.h);
    return p.h * 0.58;
}

qreal letterV(Pen& p, qreal x) {
    p.path.moveTo(x, p.baseline - p.h);
    p.path.lineTo(x + p.h * 0.46, p.baseline);
    p.path.lineTo(x + p.h * 0.92, p.baseline - p.h);
    return p.h * 0.92;
}

qreal letterA(Pen& p, qreal x) {
    p.path.addEllipse(QRectF(x, p.baseline - p.h, p.h, p.h));
    p.path.moveTo(x + p.h, p.baseline - p.h);
    p.path.lineTo(x + p.h, p.baseline);
    return p.h;
}

qreal letterN(Pen& p, qreal x) {
    const qreal w = p.h * 0.86;
    p.path.moveTo(x, p.baseline);
    p.path.lineTo(x, p.baseline - p.h);
    p.path.moveTo(x, p.baseline - p.h * 0.5);
    p.path.cubicTo(x, p.baseline - p.h * 1.02, x + w, p.baseline - p.h * 1.02, x + w,
                   p.baseline - p.h * 0.5);
    p.path.lineTo(x + w, p.baseline);
    return w;
}

qreal letterE(Pen& p, qreal x) {
    const QRectF box(x, p.baseline - p.h, p.h, p.h);
    p.path.moveTo(x, p.baseline - p.h / 2);
    p.path.lineTo(x + p.h, p.baseline - p.h / 2);
    p.path.arcTo(box, 0, 312);
    return p.h;
}

} // namespace

QPainterPath markPath(const QRectF& box, qreal pixelSizeOfBox) {
    const qreal unit = box.width() / 100.0;
    const QPointF centre = box.center();
    const bool small = pixelSizeOfBox < 40;

    // Radii of the wing body; small renderings get a thicker body so it stays legible.
    const qreal inner = small ? 20 : 23;
    const qreal outer = small ? 47 : 42;
    QPainterPath mark;

    // The body runs from the split below the top round the left side to the lower
    // tip, where its inner edge sweeps out to meet the outer edge in a point.
    const qreal split = 112;
    const qreal tip = 318;
    Band body{split, tip,
              [=](qreal a) { return inner + (outer - inner) * smoothStep(236, tip, a); },
              [=](qreal) { return outer; }};
    mark = bandPath(body, centre, unit);

    // The primaries: near the top the body splits into separate feathers, the outer
    // one longest. Towards their ends they fan outward, the outer ones more, and
    // each narrows to a point, like the spread fingers of a crow's wingtip.
    const int feathers = small ? 2 : 3;
    const qreal gap = std::max(3.6, 1.1 * 100.0 / pixelSizeOfBox); // at least ~1 pixel
    const qreal width = (outer - inner - gap * (feathers - 1)) / feathers;
    const qreal ends3[3] = {80, 60, 38};
    const qreal ends2[2] = {68, 42};
    const qreal spread = small ? 0 : 3.2;
    const qreal taper = 30;
    for (int f = 0; f < feathers; ++f) {
        const qreal r0 = inner + f * (width + gap);
        const qreal r1 = r0 + width;
        const qreal mid = (r0 + r1) / 2;
        const qreal end = small ? ends2[f] : ends3[f];
        const auto drift = [=](qreal a) { return spread * f * (split - a) / (split - end); };
        const auto narrowing = [=](qreal a) { return 1 - smoothStep(end, end + taper, a); };
        // The inner edge closes in faster than the outer edge: the tips lean outward.
        Band feather{
            end, split + 0.5,
            [=](qreal a) { return drift(a) + r0 + (mid - r0 + width * 0.18) * narrowing(a); },
            [=](qreal a) { return drift(a) + r1 - (r1 - mid - width * 0.18) * narrowing(a); }};
        mark = mark.united(bandPath(feather, centre, unit));
    }
    return mark.simplified();
}

QPainterPath wordPath(qreal left, qreal baseline, qreal xHeight, qreal strokeWidth) {
    QPainterPath strokes;
    Pen pen{strokes, baseline, xHeight};
    using Letter = qreal (*)(Pen&, qreal);
    const Letter letters[] = {letterC, letterO, letterR, letterV, letterA, letterN, letterE};
    const qreal spacing = xHeight * 0.14 + strokeWidth * 0.6;
    qreal x = left + strokeWidth / 2;
    for (Letter letter : letters)
        x += letter(pen, x) + spacing;

    QPainterPathStroker stroker;
    stroker.setWidth(strokeWidth);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(strokes).simplified();
}

void paintAppIcon(QPainter& painter, const QSize& size) {
    const qreal s = size.width();
    const qreal margin = s <= 16 ? 0.5 : s * 0.04;
    const QRectF tile(margin, margin, s - 2 * margin, s - 2 * margin);
    const qreal radius = s * 0.22;

    QLinearGradient shade(tile.topLeft(), tile.bottomLeft());
    shade.setColorAt(0, QColor(0x2A, 0x2E, 0x32));
    shade.setColorAt(1, QColor(0x17, 0x19, 0x1B));
    painter.setPen(s >= 32 ? QPen(kPanelEdge, std::max(1.0, s / 128)) : Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRoundedRect(tile, radius, radius);

    const qreal markSize = tile.width() * (s <= 16 ? 0.86 : 0.74);
    const QRectF box(tile.center().x() - markSize / 2, tile.center().y() - markSize / 2, markSize,
                     markSize);
    QLinearGradient teal(box.topLeft(), box.bottomRight());
    teal.setColorAt(0, kAccentLight);
    teal.setColorAt(0.55, kAccent);
    teal.setColorAt(1, kAccent.darker(115));
    painter.setPen(Qt::NoPen);
    painter.setBrush(teal);
    painter.drawPath(markPath(box, markSize));
}

void paintLogo(QPainter& painter, const QSize& size) {
    const qreal h = size.height();
    const QRectF box(1, 2, h - 4, h - 4);
    QLinearGradient teal(box.topLeft(), box.bottomRight());
    teal.setColorAt(0, kAccentLight);
    teal.setColorAt(0.6, kAccent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(teal);
    painter.drawPath(markPath(box, box.width()));

    painter.setBrush(kText);
    painter.drawPath(wordPath(box.right() + 7, h * 0.69, h * 0.32, h * 0.06));
}

} // namespace corvane::skin
