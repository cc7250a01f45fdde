#pragma once
// Drawing helpers shared by the controls' painted look (the fallback for missing images).

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QString>

namespace corvane::ui {

// Simple symbols a push button draws when it has no image (system buttons, arrows, help).
enum class Glyph { None, Close, Minimise, Maximise, Restore, Menu, Previous, Next, Reset, Help };

namespace draw {

// The glyph pointing the other way (Previous and Next swap); any other glyph itself. A
// right-to-left window draws its arrows this way round: "previous" points right.
Glyph mirrored(Glyph g);
// True for the glyphs that point along the reading direction.
bool pointsAlongReading(Glyph g);

// a blended with b; t = 0 gives a, 1 gives b.
QColor mix(const QColor& a, const QColor& b, qreal t);

// Device pixels per logical pixel of what p paints on: 2 on a display scaled to 200 %, and
// also when a widget is rendered into a 2x image (where the widget's own ratio says 1).
qreal pixelRatio(const QPainter& p);

// A rounded rectangle; an invalid border colour draws no border.
void frame(QPainter& p, const QRectF& r, const QColor& fill, const QColor& border, qreal radius);

// The skin image scaled into r (smoothly), mirrored left to right when flipped (an
// arrow's image in a right-to-left window); false, drawing nothing, when it is missing.
bool image(QPainter& p, const QRect& r, const QString& name, bool flipped = false);
void pixmap(QPainter& p, const QRect& r, const QPixmap& pixmap, bool flipped = false);

void glyph(QPainter& p, const QRectF& r, Glyph g, const QColor& colour);

// A plain top view of a mouse (body, button split, wheel) centred in r: the stand-in for a
// missing picture of a device.
void mouseOutline(QPainter& p, const QRectF& r);

// Text in r with the alignment; wrapped at word boundaries when wrap is set, else elided.
void text(QPainter& p, const QRect& r, const QString& s, Qt::Alignment alignment,
          const QColor& colour, bool wrap);

} // namespace draw
} // namespace corvane::ui
