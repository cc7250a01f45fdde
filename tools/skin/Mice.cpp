#include "Mice.h"

#include "Canvas.h"
#include "Mark.h"
#include "Palette.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace corvane::skin {
namespace {

// Both mice share a centre line: the wheel and DPI button callouts start at x 190.
constexpr qreal kCentreX = 190;

QColor withAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

// The M1 outline: symmetric about the centre line, a slight waist under the
// buttons and a broader palm rest.
QPainterPath m1Shell() {
    // Right half, top to bottom; the left half mirrors it.
    const QPointF right[][3] = {
        {{232, 26}, {262, 40}, {266, 82}},
        {{270, 124}, {261, 172}, {261, 220}},
        {{261, 268}, {274, 302}, {272, 345}},
        {{270, 386}, {236, 404}, {kCentreX, 404}},
    };
    const auto mirror = [](QPointF p) { return QPointF(2 * kCentreX - p.x(), p.y()); };
    QPainterPath shell;
    shell.moveTo(kCentreX, 26);
    for (const auto& c : right)
        shell.cubicTo(c[0], c[1], c[2]);
    // Back up the left side: the mirrored segments in reverse order.
    const QPointF ends[] = {{kCentreX, 26}, {266, 82}, {261, 220}, {272, 345}};
    for (int i = 3; i >= 0; --i)
        shell.cubicTo(mirror(right[i][1]), mirror(right[i][0]), mirror(ends[i]));
    shell.closeSubpath();
    return shell;
}

// The M2 outline: leaning right, a thumb groove and a flared base on the left.
QPainterPath m2Shell() {
    QPainterPath shell;
    shell.moveTo(kCentreX, 34);
    shell.cubicTo(236, 30, 266, 48, 270, 92);
    shell.cubicTo(274, 140, 283, 200, 284, 255);
    shell.cubicTo(286, 320, 276, 372, 248, 395);
    shell.cubicTo(226, 411, 170, 413, 140, 401);
    shell.cubicTo(110, 389, 95, 360, 99, 330);
    shell.cubicTo(103, 305, 116, 296, 116, 265);
    shell.cubicTo(116, 225, 112, 190, 114, 140);
    shell.cubicTo(116, 80, 140, 36, kCentreX, 34);
    shell.closeSubpath();
    return shell;
}

// The seam between the buttons and the palm rest, edge to edge across the shell.
QPainterPath buttonLine(qreal leftY, qreal dip, qreal rightY) {
    QPainterPath line;
    line.moveTo(90, leftY);
    line.cubicTo(140, dip, 240, dip, 300, rightY);
    return line;
}

void paintShell(QPainter& painter, const QPainterPath& shell, QPointF light) {
    // Soft shadow under the mouse.
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(Qt::black, 70));
    painter.drawPath(shell.translated(0, 6));

    QRadialGradient body(light, 260);
    body.setColorAt(0, kShell.lighter(118));
    body.setColorAt(0.55, kShell);
    body.setColorAt(1, kShellDark);
    painter.setBrush(body);
    painter.drawPath(shell);
}

void paintButtons(QPainter& painter, const QPainterPath& shell, const QPainterPath& seam) {
    // Buttons a shade lighter than the palm: the part of the shell above the seam.
    QPainterPath above = seam;
    above.lineTo(300, 0);
    above.lineTo(90, 0);
    above.closeSubpath();
    QLinearGradient sheen(0, 20, 0, 220);
    sheen.setColorAt(0, withAlpha(Qt::white, 16));
    sheen.setColorAt(1, withAlpha(Qt::white, 4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sheen);
    painter.drawPath(shell.intersected(above));

    painter.save();
    painter.setClipPath(shell);
    painter.setPen(QPen(kSeam, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(seam);
    painter.drawLine(QPointF(kCentreX, 0), QPointF(kCentreX, 108));
    painter.restore();
}

void paintWheel(QPainter& painter) {
    // Slot, then the wheel with its grip ridges; centre (190, 140).
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSeam);
    painter.drawRoundedRect(QRectF(kCentreX - 13, 104, 26, 72), 12, 12);
    QLinearGradient wheel(kCentreX - 9, 0, kCentreX + 9, 0);
    wheel.setColorAt(0, QColor(0x3A, 0x3F, 0x44));
    wheel.setColorAt(0.45, QColor(0x55, 0x5B, 0x61));
    wheel.setColorAt(1, QColor(0x30, 0x34, 0x38));
    painter.setBrush(wheel);
    painter.drawRoundedRect(QRectF(kCentreX - 9, 110, 18, 60), 8, 8);
    painter.setPen(QPen(withAlpha(kSeam, 170), 1.2));
    for (qreal y = 116; y < 166; y += 5)
        painter.drawLine(QPointF(kCentreX - 7, y), QPointF(kCentreX + 7, y));
}

void paintPill(QPainter& painter, const QRectF& rect, const QColor& fill) {
    painter.setPen(QPen(kSeam, 1.6));
    painter.setBrush(fill);
    const qreal r = std::min(rect.width(), rect.height()) / 2;
    painter.drawRoundedRect(rect, r, r);
}

// The two thumb buttons on the left flank, centred on the given heights.
void paintSideButtons(QPainter& painter, qreal front, qreal back) {
    QLinearGradient fill(104, 0, 124, 0);
    fill.setColorAt(0, QColor(0x44, 0x49, 0x4F));
    fill.setColorAt(1, QColor(0x33, 0x37, 0x3B));
    for (qreal y : {front, back}) {
        painter.setPen(QPen(kSeam, 1.6));
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(103, y - 17, 20, 34), 8, 8);
    }
}

void paintRim(QPainter& painter, const QPainterPath& shell) {
    painter.setPen(QPen(QColor(0x50, 0x57, 0x5E), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shell);
}

void paintPalmMark(QPainter& painter, QPointF centre, qreal size, const QColor& color) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(
        markPath(QRectF(centre.x() - size / 2, centre.y() - size / 2, size, size), size));
}

// The M1 light strip: a U round the palm rest, in a full colour wheel, with a glow.
void paintLightStrip(QPainter& painter) {
    QPainterPath strip;
    strip.moveTo(128, 296);
    strip.cubicTo(124, 340, 140, 384, kCentreX, 388);
    strip.cubicTo(240, 384, 256, 340, 252, 296);

    QConicalGradient hues(QPointF(kCentreX, 330), 90);
    const QColor stops[] = {QColor(0xFF, 0x3B, 0x6B),
                            QColor(0xFF, 0x9F, 0x1C),
                            QColor(0xF5, 0xE6, 0x3B),
                            QColor(0x3B, 0xE0, 0x6B),
                            kAccent,
                            QColor(0x3B, 0x7B, 0xFF),
                            QColor(0xA8, 0x4B, 0xFF),
                            QColor(0xFF, 0x3B, 0x6B)};
    constexpr int kStops = sizeof(stops) / sizeof(stops[0]);
    for (int i = 0; i < kStops; ++i)
        hues.setColorAt(qreal(i) / (kStops - 1), stops[i]);

    painter.setBrush(Qt::NoBrush);
    for (const auto& [width, alpha] : {std::pair{16.0, 26}, {10.0, 50}, {5.0, 255}}) {
        QBrush brush(hues);
        QPen pen(brush, width, Qt::SolidLine, Qt::RoundCap);
        painter.setOpacity(alpha / 255.0);
        painter.setPen(pen);
        painter.drawPath(strip);
    }
    painter.setOpacity(1);
    painter.setPen(QPen(withAlpha(Qt::white, 120), 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(strip);
}

void paintCable(QPainter& painter) {
    QPainterPath cable;
    cable.moveTo(kCentreX, 36);
    cable.cubicTo(kCentreX, 20, 200, 14, 197, 0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kSeam, 8, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(cable);
    painter.setPen(QPen(QColor(0x3A, 0x3F, 0x44), 5, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(cable);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kShellDark);
    painter.drawRoundedRect(QRectF(kCentreX - 6, 24, 12, 14), 3, 3);
}

void fitThumbnail(QPainter& painter, const QSize& size, qreal top, qreal bottom) {
    const qreal scale = size.height() * 0.92 / (bottom - top) * 0.94;
    painter.translate(size.width() / 2.0, size.height() / 2.0);
    painter.rotate(-16);
    painter.scale(scale, scale);
    painter.translate(-kCentreX, -(top + bottom) / 2);
}

} // namespace

void paintMouseM1(QPainter& painter, const QSize&) {
    const QPainterPath shell = m1Shell();
    paintSideButtons(painter, 210, 260);
    paintShell(painter, shell, QPointF(165, 150));
    paintButtons(painter, shell, buttonLine(188, 222, 188));
    paintWheel(painter);
    paintPill(painter, QRectF(kCentreX - 7, 181, 14, 20), QColor(0x4A, 0x50, 0x56));
    paintLightStrip(painter);
    paintPalmMark(painter, QPointF(kCentreX, 302), 38, QColor(0x3C, 0x42, 0x47));
    paintRim(painter, shell);
}

void paintMouseM2(QPainter& painter, const QSize&) {
    const QPainterPath shell = m2Shell();
    paintCable(painter);
    paintSideButtons(painter, 220, 270);
    paintShell(painter, shell, QPointF(210, 150));
    paintButtons(painter, shell, buttonLine(196, 220, 210));
    paintWheel(painter);
    paintPill(painter, QRectF(kCentreX - 7, 181, 14, 20), QColor(0x4A, 0x50, 0x56));
    // The two extra top buttons: one on the left shoulder, one behind the DPI button.
    paintPill(painter, QRectF(117, 146, 14, 28), QColor(0x40, 0x45, 0x4B));
    paintPill(painter, QRectF(192, 232, 16, 16), QColor(0x40, 0x45, 0x4B));
    // A teal seam along the thumb rest marks the right-handed shape.
    QPainterPath trim;
    trim.moveTo(128, 300);
    trim.cubicTo(116, 330, 120, 370, 150, 390);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(withAlpha(kAccent, 200), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(trim);
    paintPalmMark(painter, QPointF(205, 315), 38, QColor(0x3C, 0x42, 0x47));
    paintRim(painter, shell);
}

void paintMouseM1Thumbnail(QPainter& painter, const QSize& size) {
    fitThumbnail(painter, size, 26, 410);
    paintMouseM1(painter, size);
}

void paintMouseM2Thumbnail(QPainter& painter, const QSize& size) {
    fitThumbnail(painter, size, 0, 413);
    paintMouseM2(painter, size);
}

void paintMouseOutline(QPainter& painter, const QSize&) {
    // Lines only, in the light grey of the icons: no model's colours or marks, and the
    // keys every mouse has where the two mice keep them, so callouts find a part to
    // point at whatever the model.
    const QPainterPath shell = m1Shell();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(withAlpha(kGlyph, 200), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(shell);
    painter.save();
    painter.setClipPath(shell);
    painter.setPen(QPen(withAlpha(kGlyph, 140), 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(buttonLine(188, 222, 188));
    painter.drawLine(QPointF(kCentreX, 0), QPointF(kCentreX, 104));
    painter.restore();
    painter.setPen(QPen(withAlpha(kGlyph, 140), 1.8, Qt::DashLine, Qt::RoundCap));
    painter.drawRoundedRect(QRectF(kCentreX - 9, 110, 18, 60), 8, 8);
    painter.drawRoundedRect(QRectF(kCentreX - 7, 181, 14, 20), 7, 7);
    for (qreal y : {210.0, 260.0})
        painter.drawRoundedRect(QRectF(103, y - 17, 20, 34), 8, 8);
}

void paintMouseOutlineThumbnail(QPainter& painter, const QSize& size) {
    fitThumbnail(painter, size, 26, 410);
    paintMouseOutline(painter, size);
}

} // namespace corvane::skin
