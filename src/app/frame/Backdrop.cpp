#include "app/frame/Backdrop.h"

#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QPainter>

namespace corvane::app {

Backdrop::Backdrop(int id, QWidget* parent)
    : ui::PassiveControl(id, parent), m_fill(ui::skin::windowColour()) {}

void Backdrop::setImage(const QString& name) {
    m_image = name;
    update();
}

void Backdrop::setFillColour(const QColor& colour) {
    m_fill = colour;
    update();
}

void Backdrop::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    if (!ui::draw::image(p, rect(), m_image))
        p.fillRect(rect(), m_fill);
}

} // namespace corvane::app
