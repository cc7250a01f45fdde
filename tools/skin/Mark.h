#pragma once
// The Corvane mark (a "C" curled from a corvid wing whose tip splits into
// separate primary feathers), the drawn word "Corvane", and the images built
// from them: the logo and the application icon.

#include <QPainter>
#include <QPainterPath>

namespace corvane::skin {

// The mark fitted into a square box. pixelScale is the size of one box unit in
// device pixels; small renderings get fewer, wider-spaced feathers.
QPainterPath markPath(const QRectF& box, qreal pixelSizeOfBox);

// The word "Corvane" as a stroke outline: baseline at (left, baseline), lowercase
// letters xHeight tall. Returns the path; its width is the word's width.
QPainterPath wordPath(qreal left, qreal baseline, qreal xHeight, qreal strokeWidth);

// The application icon (rounded dark tile with the teal mark), any square size.
void paintAppIcon(QPainter& painter, const QSize& size);

// The logo: the mark followed by the word, about 160 x 40.
void paintLogo(QPainter& painter, const QSize& size);

} // namespace corvane::skin
