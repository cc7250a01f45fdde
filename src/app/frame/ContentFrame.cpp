#include "app/frame/ContentFrame.h"

#include "ui/base/Skin.h"

#include <QPainter>

namespace corvane::app {

ContentFrame::ContentFrame(int id, QWidget* parent) : ui::PassiveControl(id, parent) {}

void ContentFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = std::min<qreal>(10, r.height() / 4);
    QColor fill = ui::skin::panelColour();
    fill.setAlpha(70);
    QColor edge = ui::skin::borderColour();
    edge.setAlpha(200);
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);

    // The marks follow the reading direction: top left and bottom right, mirrored in a
    // right-to-left language.
    QColor accent = ui::skin::accentColour();
    accent.setAlpha(150);
    p.setPen(QPen(accent, 2, Qt::SolidLine, Qt::FlatCap));
    const qreal mark = 18;
    const bool mirrored = isRightToLeft();
    const qreal topStart = mirrored ? r.right() - radius - mark : r.left() + radius;
    const qreal bottomStart = mirrored ? r.left() + radius : r.right() - radius - mark;
    p.drawLine(QPointF(topStart, r.top()), QPointF(topStart + mark, r.top()));
    p.drawLine(QPointF(bottomStart, r.bottom()), QPointF(bottomStart + mark, r.bottom()));
}

} // namespace corvane::app
