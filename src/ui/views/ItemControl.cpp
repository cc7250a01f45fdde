#include "ui/views/ItemControl.h"

#include <QMouseEvent>

namespace corvane::ui {

void ItemControl::mouseMoveEvent(QMouseEvent* event) {
    const int index = itemAt(event->position().toPoint());
    if (index != m_hover) {
        m_hover = index;
        if (m_pointingCursor)
            setCursor(index >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
    Control::mouseMoveEvent(event);
}

void ItemControl::leaveEvent(QEvent* event) {
    m_hover = -1;
    update();
    Control::leaveEvent(event);
}

} // namespace corvane::ui
