#include "ui/controls/CheckBox.h"

#include "ui/base/Announce.h"
#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QPainter>
#include <QPainterPath>

namespace corvane::ui {

void paintIndicatorAndText(QPainter& p, const Control& c, const QRect& r, bool checked, bool round,
                           bool hovered, const QString& image) {
    const int size = std::min(16, r.height());
    // The indicator stands before the text: on the left, or on the right when reading
    // from right to left.
    const bool rightToLeft = c.isRightToLeft();
    const QRect box(rightToLeft ? r.right() - size : r.left() + 1,
                    r.top() + (r.height() - size) / 2, size, size);
    if (!draw::image(p, box, image)) {
        const QColor accent = skin::accentColour();
        const QColor border = checked || hovered ? accent : skin::borderColour();
        const QColor fill = checked && !round ? accent : skin::panelColour();
        draw::frame(p, box, c.isEnabled() ? fill : skin::panelColour(), border,
                    round ? size / 2.0 : 3);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        if (checked && round) {
            p.setPen(Qt::NoPen);
            p.setBrush(c.isEnabled() ? accent : skin::disabledTextColour());
            p.drawEllipse(QRectF(box).adjusted(4, 4, -4, -4));
        } else if (checked) {
            p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const QRectF b = QRectF(box).adjusted(3.5, 3.5, -3.5, -3.5);
            p.drawPolyline(QPolygonF({QPointF(b.left(), b.center().y()),
                                      QPointF(b.left() + b.width() * 0.4, b.bottom()),
                                      QPointF(b.right(), b.top())}));
        }
        p.restore();
    }
    const QRect textRect =
        rightToLeft ? r.adjusted(0, 0, -(size + 8), 0) : r.adjusted(size + 8, 0, 0, 0);
    draw::text(p, textRect, c.text(), c.alignment(), c.textColour(), false);
}

CheckBox::CheckBox(int id, QWidget* parent) : ButtonBase(id, parent) {}

void CheckBox::setChecked(bool on) {
    if (m_checked == on)
        return;
    m_checked = on;
    update();
    announceChecked(this);
}

void CheckBox::setImages(const QString& off, const QString& on) {
    m_off = off;
    m_on = on;
    update();
}

void CheckBox::clicked() {
    m_checked = !m_checked;
    update();
    announceChecked(this);
    notify(Notify::Click, m_checked ? 1 : 0);
}

void CheckBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    paintIndicatorAndText(p, *this, rect(), m_checked, false, isHovered(),
                          m_checked ? m_on : m_off);
}

} // namespace corvane::ui
