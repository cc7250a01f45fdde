#include "ui/controls/StaticText.h"

#include "ui/base/Drawing.h"

#include <QMouseEvent>
#include <QPainter>

namespace corvane::ui {

PassiveControl::PassiveControl(int id, QWidget* parent) : Control(id, parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void PassiveControl::setClickable(bool on) {
    m_clickable = on;
    setAttribute(Qt::WA_TransparentForMouseEvents, !on);
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void PassiveControl::mousePressEvent(QMouseEvent* event) {
    if (m_clickable && event->button() == Qt::LeftButton)
        m_pressed = true;
    else
        Control::mousePressEvent(event);
}

void PassiveControl::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_pressed || event->button() != Qt::LeftButton) {
        Control::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    if (rect().contains(event->position().toPoint()))
        notify(Notify::Click);
}

StaticText::StaticText(int id, QWidget* parent) : PassiveControl(id, parent) {}

void StaticText::setWordWrap(bool on) {
    m_wrap = on;
    update();
}

void StaticText::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setFont(font());
    draw::text(p, rect(), text(), alignment(), textColour(), m_wrap);
}

} // namespace corvane::ui
