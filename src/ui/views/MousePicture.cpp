#include "ui/views/MousePicture.h"

#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace corvane::ui {
namespace {
constexpr int kLabelHeight = 26;
constexpr int kLabelPadding = 12;
} // namespace

MousePicture::MousePicture(int id, QWidget* parent) : ItemControl(id, parent) {
    setMouseTracking(true);
    setPointingCursor(true);
    setFocusPolicy(Qt::NoFocus);
    setTextFont({}, 13);
}

void MousePicture::setImage(const QString& name) {
    m_image = name;
    update();
}

QSize MousePicture::imageSize() const {
    return skin::image(m_image).size();
}

int MousePicture::addCallout(const QString& text, int keyValue, int direction, const QPoint& start,
                             const QPoint& end, bool dashed) {
    m_callouts.append({text, keyValue, direction, start, end, dashed});
    update();
    return count() - 1;
}

void MousePicture::clearCallouts() {
    m_callouts.clear();
    m_selected = -1;
    clearHover();
    update();
}

QString MousePicture::calloutText(int index) const {
    return index >= 0 && index < count() ? m_callouts[index].text : QString();
}

void MousePicture::setCalloutText(int index, const QString& text) {
    if (index < 0 || index >= count())
        return;
    m_callouts[index].text = text;
    update();
}

int MousePicture::keyValue(int index) const {
    return index >= 0 && index < count() ? m_callouts[index].keyValue : -1;
}

int MousePicture::indexOfKey(int keyValue) const {
    for (int i = 0; i < count(); ++i) {
        if (m_callouts[i].keyValue == keyValue)
            return i;
    }
    return -1;
}

QRect MousePicture::calloutRect(int index) const {
    if (index < 0 || index >= count())
        return {};
    const Callout& c = m_callouts[index];
    const int w = std::max(56, fontMetrics().horizontalAdvance(c.text) + 2 * kLabelPadding);
    bool left = c.end.x() < c.start.x();
    if (c.direction == 0)
        left = true;
    else if (c.direction == 1)
        left = false;
    QRect r(left ? c.end.x() - w : c.end.x(), c.end.y() - kLabelHeight / 2, w, kLabelHeight);
    r.moveLeft(std::clamp(r.left(), 0, std::max(0, width() - r.width())));
    r.moveTop(std::clamp(r.top(), 0, std::max(0, height() - r.height())));
    return r;
}

void MousePicture::select(int index) {
    m_selected = index >= 0 && index < count() ? index : -1;
    update();
}

int MousePicture::itemAt(const QPoint& point) const {
    for (int i = count() - 1; i >= 0; --i) {
        if (calloutRect(i).contains(point))
            return i;
    }
    return -1;
}

void MousePicture::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const QPixmap picture = skin::image(m_image);
    if (!picture.isNull())
        p.drawPixmap(0, 0, picture);
    else
        draw::mouseOutline(p, rect());

    p.setFont(font());
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count(); ++i) {
        const Callout& c = m_callouts[i];
        const bool selected = i == m_selected;
        const QColor lineColour = selected ? skin::accentColour() : skin::mutedTextColour();
        p.setPen(QPen(lineColour, 1.5, c.dashed ? Qt::DashLine : Qt::SolidLine));
        p.drawLine(c.start, c.end);
        p.setPen(Qt::NoPen);
        p.setBrush(lineColour);
        p.drawEllipse(QPointF(c.start), 3, 3);

        const QRect label = calloutRect(i);
        QColor fill = skin::faceColour();
        if (selected)
            fill = skin::accentColour();
        else if (i == hoveredItem())
            fill = skin::hoverColour();
        draw::frame(p, label, fill, selected ? skin::accentColour() : skin::borderColour(),
                    kLabelHeight / 2.0);
        draw::text(p, label.adjusted(kLabelPadding / 2, 0, -kLabelPadding / 2, 0), c.text,
                   Qt::AlignCenter, selected ? QColor(Qt::white) : textColour(), false);
    }
}

void MousePicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return Control::mousePressEvent(event);
    const int index = itemAt(event->position().toPoint());
    if (index < 0)
        return Control::mousePressEvent(event);
    m_selected = index;
    update();
    notify(Notify::Click, index, m_callouts[index].keyValue);
}

} // namespace corvane::ui
