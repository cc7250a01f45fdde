#include "Glyphs.h"

#include "Canvas.h"
#include "Palette.h"

#include <QPainterPath>
#include <QtMath>

namespace corvane::skin {
namespace {

constexpr qreal kTabStroke = 2.0;
constexpr qreal kCaptionStroke = 1.6;

// The battery's inner area, inside the outline, shared by outline and fill.
const QRectF kBatteryBody(1.5, 2.5, 26, 11);
const QRectF kBatteryFill(4, 5, 21, 6);

void strokeOnly(QPainter& painter, qreal width) {
    painter.setPen(roundPen(kGlyph, width));
    painter.setBrush(Qt::NoBrush);
}

} // namespace

void paintTabHome(QPainter& painter, const QSize&) {
    strokeOnly(painter, kTabStroke);
    painter.drawPolyline(QPolygonF({{4, 15.5}, {16, 5.5}, {28, 15.5}}));
    painter.drawPolyline(QPolygonF({{8, 13}, {8, 27}, {24, 27}, {24, 13}}));
    painter.drawPolyline(QPolygonF({{13.5, 27}, {13.5, 20}, {18.5, 20}, {18.5, 27}}));
}

void paintTabKey(QPainter& painter, const QSize&) {
    // A mouse seen from above, its two buttons marked.
    strokeOnly(painter, kTabStroke);
    painter.drawRoundedRect(QRectF(8.5, 3.5, 15, 25), 7.5, 7.5);
    painter.drawLine(QPointF(16, 3.5), QPointF(16, 9));
    painter.drawLine(QPointF(8.5, 13), QPointF(23.5, 13));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlyph);
    painter.drawRoundedRect(QRectF(14.6, 7.5, 2.8, 4), 1.4, 1.4);
}

void paintTabDpi(QPainter& painter, const QSize&) {
    // A gauge: an open arc with a needle.
    strokeOnly(painter, kTabStroke);
    const QRectF dial(4, 6, 24, 24);
    painter.drawArc(dial, -30 * 16, 240 * 16);
    const QPointF hub = dial.center();
    for (int degrees : {210, 150, 90, 30, -30}) {
        const qreal a = qDegreesToRadians(qreal(degrees));
        const QPointF dir(qCos(a), -qSin(a));
        painter.drawLine(hub + dir * 8.5, hub + dir * 10.5);
    }
    const qreal needle = qDegreesToRadians(50.0);
    painter.drawLine(hub, hub + QPointF(qCos(needle), -qSin(needle)) * 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlyph);
    painter.drawEllipse(hub, 2.4, 2.4);
}

void paintTabMacro(QPainter& painter, const QSize&) {
    // A keyboard: the keys a macro plays back.
    strokeOnly(painter, kTabStroke);
    painter.drawRoundedRect(QRectF(3, 8, 26, 17), 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlyph);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 5; ++col)
            painter.drawRoundedRect(QRectF(6.5 + col * 4 + row * 1.2, 11.2 + row * 4, 2.4, 2.4),
                                    0.6, 0.6);
    painter.drawRoundedRect(QRectF(10, 19.6, 12, 2.4), 1, 1);
}

void paintTabLight(QPainter& painter, const QSize&) {
    // A bulb with rays.
    strokeOnly(painter, kTabStroke);
    QPainterPath bulb;
    bulb.moveTo(13, 22);
    bulb.cubicTo(13, 18.5, 9, 17, 9, 12.5);
    bulb.cubicTo(9, 8.5, 12.2, 5.5, 16, 5.5);
    bulb.cubicTo(19.8, 5.5, 23, 8.5, 23, 12.5);
    bulb.cubicTo(23, 17, 19, 18.5, 19, 22);
    bulb.closeSubpath();
    painter.drawPath(bulb);
    painter.drawLine(QPointF(13.5, 25.5), QPointF(18.5, 25.5));
    painter.drawLine(QPointF(14.5, 28.5), QPointF(17.5, 28.5));
    painter.setPen(roundPen(kGlyph, 1.6));
    const QPointF centre(16, 12.5);
    for (int degrees : {0, 40, 140, 180}) {
        const qreal a = qDegreesToRadians(qreal(degrees));
        const QPointF dir(qCos(a), -qSin(a));
        painter.drawLine(centre + dir * 10.5, centre + dir * 13);
    }
}

void paintTabSet(QPainter& painter, const QSize&) {
    // Three sliders: the device's settings.
    strokeOnly(painter, kTabStroke);
    const qreal rows[3] = {8, 16, 24};
    const qreal knobs[3] = {20, 11, 17};
    for (int i = 0; i < 3; ++i) {
        painter.drawLine(QPointF(5, rows[i]), QPointF(knobs[i] - 3.2, rows[i]));
        painter.drawLine(QPointF(knobs[i] + 3.2, rows[i]), QPointF(27, rows[i]));
        painter.drawEllipse(QPointF(knobs[i], rows[i]), 2.6, 2.6);
    }
}

void paintCaptionClose(QPainter& painter, const QSize&) {
    strokeOnly(painter, kCaptionStroke);
    painter.drawLine(QPointF(11, 11), QPointF(21, 21));
    painter.drawLine(QPointF(21, 11), QPointF(11, 21));
}

void paintCaptionMinimize(QPainter& painter, const QSize&) {
    strokeOnly(painter, kCaptionStroke);
    painter.drawLine(QPointF(10.5, 16.5), QPointF(21.5, 16.5));
}

void paintCaptionMaximize(QPainter& painter, const QSize&) {
    strokeOnly(painter, kCaptionStroke);
    painter.drawRoundedRect(QRectF(10.5, 10.5, 11, 11), 1.5, 1.5);
}

void paintCaptionRestore(QPainter& painter, const QSize&) {
    strokeOnly(painter, kCaptionStroke);
    painter.drawRoundedRect(QRectF(9.5, 12.5, 10, 10), 1.5, 1.5);
    // The window behind shows only above and to the right of the front one.
    painter.drawPolyline(QPolygonF({{12.5, 12.5},
                                    {12.5, 11},
                                    {13.5, 9.5},
                                    {21, 9.5},
                                    {22.5, 11},
                                    {22.5, 18.5},
                                    {21, 19.5},
                                    {19.5, 19.5}}));
}

void paintCaptionSetting(QPainter& painter, const QSize&) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlyph);
    painter.drawPath(gearPath(QPointF(16, 16), 8.2, 6.2, 8, 2.6));
}

void paintDeviceModes(QPainter& painter, const QSize& size) {
    const qreal cell = size.height();

    // Mode 0, cable: a plug with its cable curling away.
    strokeOnly(painter, 1.6);
    painter.drawRoundedRect(QRectF(8, 3.5, 8, 8.5), 1.2, 1.2);
    painter.drawLine(QPointF(10.5, 3.5), QPointF(10.5, 1.5));
    painter.drawLine(QPointF(13.5, 3.5), QPointF(13.5, 1.5));
    painter.drawLine(QPointF(12, 12), QPointF(12, 14));
    QPainterPath cable;
    cable.moveTo(12, 14);
    cable.cubicTo(12, 20, 6, 17, 6, 21.5);
    painter.drawPath(cable);

    // Mode 1, wireless: a dot under three arcs.
    painter.translate(cell, 0);
    const QPointF source(12, 18.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlyph);
    painter.drawEllipse(source, 2.2, 2.2);
    strokeOnly(painter, 1.8);
    for (qreal r : {6.0, 10.5, 15.0})
        painter.drawArc(QRectF(source.x() - r, source.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
}

void paintBatteryOutline(QPainter& painter, const QSize&) {
    painter.setPen(QPen(kGlyph, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(kBatteryBody, 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlyph);
    painter.drawRoundedRect(QRectF(kBatteryBody.right() + 1.2, 5.5, 2.3, 5), 1, 1);
}

void paintBatteryFill(QPainter& painter, const QSize&) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    painter.drawRoundedRect(kBatteryFill, 1.5, 1.5);
}

void paintBatteryCharge(QPainter& painter, const QSize&) {
    // Dark rim so the bolt reads over the teal fill as well as over the empty body.
    const QPainterPath bolt = boltPath(QRectF(8.5, 0.5, 12, 15));
    painter.setPen(QPen(kBackground, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kText);
    painter.drawPath(bolt);
}

} // namespace corvane::skin
