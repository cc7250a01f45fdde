#include "ui/controls/ButtonBase.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace corvane::ui {

ButtonBase::ButtonBase(int id, QWidget* parent) : Control(id, parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void ButtonBase::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    Control::enterEvent(event);
}

void ButtonBase::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    Control::leaveEvent(event);
}

void ButtonBase::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        Control::mousePressEvent(event);
        return;
    }
    m_down = true;
    update();
}

void ButtonBase::mouseMoveEvent(QMouseEvent* event) {
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_hovered) {
        m_hovered = inside;
        update();
    }
    Control::mouseMoveEvent(event);
}

void ButtonBase::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_down) {
        Control::mouseReleaseEvent(event);
        return;
    }
    m_down = false;
    update();
    if (rect().contains(event->position().toPoint()))
        clicked();
}

void ButtonBase::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            clicked();
        return;
    default:
        Control::keyPressEvent(event);
    }
}

void ButtonBase::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_down = false;
        m_hovered = false;
    }
    Control::changeEvent(event);
}

} // namespace corvane::ui
