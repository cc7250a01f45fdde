#include "ui/views/Picture.h"

#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QPainter>

namespace corvane::ui {

Picture::Picture(int id, QWidget* parent) : PassiveControl(id, parent) {
    m_fill = skin::panelColour();
    setAlignment(Qt::AlignCenter);
}

void Picture::setImage(const QString& name) {
    m_image = name;
    update();
}

QSize Picture::imageSize() const {
    return skin::image(m_image).size();
}

void Picture::setFillColour(const QColor& colour) {
    m_fill = colour;
    update();
}

void Picture::setKeepAspect(bool on) {
    m_keepAspect = on;
    update();
}

void Picture::setRound(bool on) {
    m_round = on;
    update();
}

void Picture::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    QRect target = rect();
    if (m_keepAspect) {
        const QSize own = imageSize();
        if (!own.isEmpty()) {
            target.setSize(own.scaled(size(), Qt::KeepAspectRatio));
            target.moveCenter(rect().center());
        }
    }
    if (draw::image(p, target, m_image))
        return;
    if (m_fill.isValid() && m_fill.alpha() > 0) {
        const int side = std::min(width(), height());
        draw::frame(p, rect(), m_fill, QColor(), m_round ? side / 2 : std::min(6, height() / 4));
    }
    p.setFont(font());
    draw::text(p, rect(), text(), alignment(), textColour(), true);
}

Panel::Panel(int id, QWidget* parent) : Control(id, parent) {
    setFocusPolicy(Qt::NoFocus);
}

void Panel::setImage(const QString& name) {
    m_image = name;
    update();
}

void Panel::setFillColour(const QColor& colour) {
    m_fill = colour;
    update();
}

void Panel::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    if (draw::image(p, rect(), m_image))
        return;
    if (m_fill.isValid() && m_fill.alpha() > 0)
        draw::frame(p, rect(), m_fill, QColor(), 0);
}

} // namespace corvane::ui
