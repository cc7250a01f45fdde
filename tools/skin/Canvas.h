#pragma once
// Small drawing helpers shared by the image painters.

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace corvane::skin {

// A painter function draws one image onto a transparent (or, for backgrounds,
// unfilled) canvas of the given size; the painter is anti-aliased.
using Painter = void (*)(QPainter& painter, const QSize& size);

// Runs the painter on a new transparent ARGB image of that size.
QImage render(const QSize& size, Painter paint);

// A round-capped, round-joined pen.
QPen roundPen(const QColor& color, qreal width);

// A gear outline centred on centre: teeth on a ring of radius outer, the root
// circle at radius inner and a hole of radius hole.
QPainterPath gearPath(QPointF centre, qreal outer, qreal inner, int teeth, qreal hole);

// The path of a lightning bolt fitted into rect.
QPainterPath boltPath(const QRectF& rect);

} // namespace corvane::skin
