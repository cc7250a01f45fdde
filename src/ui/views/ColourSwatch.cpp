#include "ui/views/ColourSwatch.h"

#include "ui/base/Colour.h"
#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QPainter>

namespace corvane::ui {

ColourSwatch::ColourSwatch(int id, QWidget* parent) : GroupedButton(id, parent) {}

void ColourSwatch::setColour(const QColor& colour) {
    m_colour = colour;
    update();
}

void ColourSwatch::clicked() {
    if (!group().isEmpty())
        setChecked(true);
    notify(Notify::Click, bgrFromColour(m_colour));
}

void ColourSwatch::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const QRectF r = rect();
    const qreal radius = std::min(r.width(), r.height()) / 5.0;
    if (isChecked())
        draw::frame(p, r, QColor(), skin::accentColour(), radius + 2);
    const QColor border = isHovered() ? skin::textColour() : skin::borderColour();
    const QRectF inner = isChecked() ? r.adjusted(3, 3, -3, -3) : r.adjusted(1, 1, -1, -1);
    const QColor fill = isEnabled() ? m_colour : draw::mix(m_colour, skin::panelColour(), 0.7);
    draw::frame(p, inner, fill, border, radius);
}

} // namespace corvane::ui
