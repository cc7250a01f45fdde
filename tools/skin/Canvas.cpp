#include "Canvas.h"

#include <QtMath>

namespace corvane::skin {

QImage render(const QSize& size, Painter paint) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paint(painter, size);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPen roundPen(const QColor& color, qreal width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath gearPath(QPointF centre, qreal outer, qreal inner, int teeth, qreal hole) {
    QPainterPath gear;
    const qreal step = 2 * M_PI / teeth;
    // Each tooth: a flat top a third of the pitch wide, flanks sloping to the root.
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step;
        const qreal corners[4][2] = {{a - step * 0.30, inner},
                                     {a - step * 0.17, outer},
                                     {a + step * 0.17, outer},
                                     {a + step * 0.30, inner}};
        for (const auto& [angle, radius] : corners) {
            const QPointF p = centre + QPointF(radius * qCos(angle), radius * qSin(angle));
            if (gear.elementCount() == 0)
                gear.moveTo(p);
            else
                gear.lineTo(p);
        }
    }
    gear.closeSubpath();
    QPainterPath hollow;
    hollow.addEllipse(centre, hole, hole);
    return gear.subtracted(hollow);
}

QPainterPath boltPath(const QRectF& r) {
    const auto at = [&r](qreal fx, qreal fy) {
        return QPointF(r.left() + fx * r.width(), r.top() + fy * r.height());
    };
    QPainterPath bolt;
    bolt.moveTo(at(0.62, 0.0));
    bolt.lineTo(at(0.12, 0.58));
    bolt.lineTo(at(0.46, 0.58));
    bolt.lineTo(at(0.36, 1.0));
    bolt.lineTo(at(0.88, 0.40));
    bolt.lineTo(at(0.54, 0.40));
    bolt.closeSubpath();
    return bolt;
}

} // namespace corvane::skin
