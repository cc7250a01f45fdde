#pragma once
// Drawing helpers shared by the controls' painted look (the fallback for missing images).

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>

namespace corvane::ui {

// Simple symbols a push button draws when it has no image (system buttons, arrows, help).
enum class Glyph { None, Close, Minimise, Maximise, Restore, Menu, Previous, Next, Reset, Help };

namespace draw {

// a blended with b; t = 0 gives a, 1 gives b.
QColor mix(const QColor& a, const QColor& b, qreal t);

// Device pixels per logical pixel of what p paints on: 2 on a display scaled to 200 %, and
// also when a widget is rendered into a 2x image (where the widget's own ratio says 1).
qreal pixelRatio(const QPainter& p);

// A rounded rectangle; an invalid border colour draws no border.
void frame(QPainter& p, const QRectF& r, const QColor& fill, const QColor& border, qreal radius);

// The skin image scaled into r (smoothly); false, drawing nothing, when it is missing.
bool image(QPainter& p, const QRect& r, const QString& name);

void glyph(QPainter& p, const QRectF& r, Glyph g, const QColor& colour);

// A plain top view of a mouse (body, button split, wheel) centred in r: the stand-in for a
// missing picture of a device.
void mouseOutline(QPainter& p, const QRectF& r);

// Text in r with the alignment; wrapped at word boundaries when wrap is set, else elided.
void text(QPainter& p, const QRect& r, const QString& s, Qt::Alignment alignment,
          const QColor& colour, bool wrap);

} // namespace draw
} // namespace corvane::ui
