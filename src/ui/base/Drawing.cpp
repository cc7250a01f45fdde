#include "ui/base/Drawing.h"

#include "ui/base/Skin.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace corvane::ui::draw {

qreal pixelRatio(const QPainter& p) {
    const QTransform& t = p.deviceTransform();
    return std::max<qreal>(1.0, std::hypot(t.m11(), t.m12()));
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

void frame(QPainter& p, const QRectF& r, const QColor& fill, const QColor& border, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRectF box = r;
    if (border.isValid()) {
        p.setPen(QPen(border, 1));
        box.adjust(0.5, 0.5, -0.5, -0.5);
    } else {
        p.setPen(Qt::NoPen);
    }
    p.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    p.drawRoundedRect(box, radius, radius);
    p.restore();
}

Glyph mirrored(Glyph g) {
    switch (g) {
    case Glyph::Previous:
        return Glyph::Next;
    case Glyph::Next:
        return Glyph::Previous;
    default:
        return g;
    }
}

bool pointsAlongReading(Glyph g) {
    return g == Glyph::Previous || g == Glyph::Next;
}

void pixmap(QPainter& p, const QRect& r, const QPixmap& pixmap, bool flipped) {
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (flipped) {
        // Mirrored about r's vertical centre line.
        p.translate(r.left() + r.right() + 1, 0);
        p.scale(-1, 1);
    }
    p.drawPixmap(r, pixmap);
    p.restore();
}

bool image(QPainter& p, const QRect& r, const QString& name, bool flipped) {
    const QPixmap picture = skin::image(name);
    if (picture.isNull())
        return false;
    pixmap(p, r, picture, flipped);
    return true;
}

void glyph(QPainter& p, const QRectF& r, Glyph g, const QColor& colour) {
    if (g == Glyph::None)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(r.width(), r.height()) * 0.28;
    const QPointF c = r.center();
    p.setPen(QPen(colour, std::max<qreal>(1.5, s / 4.5), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    switch (g) {
    case Glyph::Close:
        p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
        p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
        break;
    case Glyph::Minimise:
        p.drawLine(c + QPointF(-s, s * 0.6), c + QPointF(s, s * 0.6));
        break;
    case Glyph::Maximise:
        p.drawRect(QRectF(c - QPointF(s, s), c + QPointF(s, s)));
        break;
    case Glyph::Restore:
        p.drawRect(QRectF(c + QPointF(-s, -s * 0.4), c + QPointF(s * 0.6, s)));
        p.drawPolyline(QPolygonF({c + QPointF(-s * 0.4, -s * 0.4), c + QPointF(-s * 0.4, -s),
                                  c + QPointF(s, -s), c + QPointF(s, s * 0.4),
                                  c + QPointF(s * 0.6, s * 0.4)}));
        break;
    case Glyph::Menu:
        for (qreal dy : {-s * 0.7, 0.0, s * 0.7})
            p.drawLine(c + QPointF(-s, dy), c + QPointF(s, dy));
        break;
    case Glyph::Previous:
        p.drawPolyline(QPolygonF(
            {c + QPointF(s * 0.4, -s), c + QPointF(-s * 0.5, 0), c + QPointF(s * 0.4, s)}));
        break;
    case Glyph::Next:
        p.drawPolyline(QPolygonF(
            {c + QPointF(-s * 0.4, -s), c + QPointF(s * 0.5, 0), c + QPointF(-s * 0.4, s)}));
        break;
    case Glyph::Reset: {
        const QRectF arc(c - QPointF(s, s), c + QPointF(s, s));
        p.drawArc(arc, 100 * 16, 290 * 16);
        const QPointF tip = c + QPointF(-s * 0.17, -s);
        p.drawLine(tip, tip + QPointF(s * 0.55, -s * 0.45));
        p.drawLine(tip, tip + QPointF(s * 0.55, s * 0.45));
        break;
    }
    case Glyph::Help: {
        p.drawEllipse(c, s * 1.15, s * 1.15);
        QFont f = p.font();
        f.setPixelSize(std::max(8, int(s * 1.6)));
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(c - QPointF(s, s), c + QPointF(s, s)), Qt::AlignCenter,
                   QStringLiteral("?"));
        break;
    }
    case Glyph::None:
        break;
    }
    p.restore();
}

void mouseOutline(QPainter& p, const QRectF& r) {
    const qreal h = std::min(r.height() * 0.8, r.width() * 1.2);
    const qreal w = h * 0.58;
    const QRectF body(r.center().x() - w / 2, r.center().y() - h / 2, w, h);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(skin::borderColour(), 2));
    p.setBrush(skin::faceColour());
    p.drawRoundedRect(body, w * 0.48, w * 0.55);
    p.setPen(QPen(skin::borderColour(), 1.5));
    const qreal split = body.top() + h * 0.42;
    p.drawLine(QPointF(body.center().x(), body.top() + 2), QPointF(body.center().x(), split));
    p.drawLine(QPointF(body.left() + w * 0.05, split), QPointF(body.right() - w * 0.05, split));
    const QRectF wheel(body.center().x() - w * 0.06, body.top() + h * 0.12, w * 0.12, h * 0.14);
    p.setBrush(skin::panelColour());
    p.drawRoundedRect(wheel, w * 0.06, w * 0.06);
    p.restore();
}

void text(QPainter& p, const QRect& r, const QString& s, Qt::Alignment alignment,
          const QColor& colour, bool wrap) {
    if (s.isEmpty())
        return;
    p.save();
    p.setPen(colour);
    if (wrap) {
        p.drawText(r, int(alignment) | Qt::TextWordWrap, s);
    } else {
        const QString shown = p.fontMetrics().elidedText(s, Qt::ElideRight, r.width());
        p.drawText(r, int(alignment), shown);
    }
    p.restore();
}

} // namespace corvane::ui::draw
