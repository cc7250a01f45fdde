#include "ui/views/ColourPalette.h"

#include "ui/base/Colour.h"
#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace corvane::ui {
namespace {

QColor fieldColour(qreal hue, qreal saturation) {
    return QColor::fromHsvF(float(std::clamp(hue, 0.0, 1.0) * 0.9999),
                            float(std::clamp(saturation, 0.0, 1.0)), 1.0f);
}

} // namespace

ColourPalette::ColourPalette(int id, QWidget* parent) : Control(id, parent) {
    setCursor(Qt::CrossCursor);
    // Reached with Tab for the arrow keys; a click picks without taking the focus.
    setFocusPolicy(Qt::TabFocus);
    setColour(m_colour);
}

QRect ColourPalette::field() const {
    return rect().adjusted(1, 1, -1, -1);
}

void ColourPalette::setColour(const QColor& colour) {
    if (!colour.isValid())
        return;
    m_colour = colour;
    const QColor hsv = colour.toHsv();
    const qreal hue = hsv.hsvHueF() < 0 ? 0.0 : hsv.hsvHueF();
    m_marker = QPointF(hue, hsv.hsvSaturationF());
    update();
}

QColor ColourPalette::colourAt(const QPoint& point) const {
    const QRect f = field();
    if (f.width() < 2 || f.height() < 2)
        return m_colour;
    const qreal hue = qreal(point.x() - f.left()) / (f.width() - 1);
    const qreal saturation = 1.0 - qreal(point.y() - f.top()) / (f.height() - 1);
    return fieldColour(hue, saturation);
}

QPoint ColourPalette::markerPoint() const {
    const QRect f = field();
    return {f.left() + int(std::lround(m_marker.x() * (f.width() - 1))),
            f.top() + int(std::lround((1.0 - m_marker.y()) * (f.height() - 1)))};
}

void ColourPalette::pick(const QPoint& point) {
    const QRect f = field();
    const QPoint clamped(std::clamp(point.x(), f.left(), f.right()),
                         std::clamp(point.y(), f.top(), f.bottom()));
    const QColor picked = colourAt(clamped);
    m_marker = QPointF(qreal(clamped.x() - f.left()) / std::max(1, f.width() - 1),
                       1.0 - qreal(clamped.y() - f.top()) / std::max(1, f.height() - 1));
    update();
    if (picked == m_colour)
        return;
    m_colour = picked;
    notify(Notify::ColourPicked, bgrFromColour(m_colour));
}

void ColourPalette::resizeEvent(QResizeEvent* event) {
    m_cache = QImage();
    Control::resizeEvent(event);
}

void ColourPalette::paintEvent(QPaintEvent* /*event*/) {
    const QRect f = field();
    QPainter p(this);
    // The field is computed for every pixel of the device painted on (two per point on
    // a display scaled to 200 %), so it stays sharp. The painter's scale, not the widget's
    // ratio: a widget rendered into a 2x image still reports 1.
    const qreal ratio = draw::pixelRatio(p);
    const QSize pixels = (QSizeF(f.size()) * ratio).toSize();
    if ((m_cache.size() != pixels || m_cache.devicePixelRatio() != ratio) && f.width() > 0 &&
        f.height() > 0) {
        m_cache = QImage(pixels, QImage::Format_RGB32);
        for (int y = 0; y < pixels.height(); ++y) {
            const qreal saturation = 1.0 - qreal(y) / std::max(1, pixels.height() - 1);
            auto* line = reinterpret_cast<QRgb*>(m_cache.scanLine(y));
            for (int x = 0; x < pixels.width(); ++x)
                line[x] = fieldColour(qreal(x) / std::max(1, pixels.width() - 1), saturation).rgb();
        }
        m_cache.setDevicePixelRatio(ratio);
    }
    p.drawImage(f.topLeft(), m_cache);
    if (!isEnabled())
        p.fillRect(f, QColor(0, 0, 0, 140));
    draw::frame(p, rect(), QColor(), hasFocus() ? skin::accentColour() : skin::borderColour(), 0);

    const QPointF centre(f.left() + m_marker.x() * (f.width() - 1),
                         f.top() + (1.0 - m_marker.y()) * (f.height() - 1));
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 3));
    p.drawEllipse(centre, 6, 6);
    p.setPen(QPen(Qt::white, 1.5));
    p.drawEllipse(centre, 6, 6);
}

void ColourPalette::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return Control::mousePressEvent(event);
    m_dragging = true;
    pick(event->position().toPoint());
}

void ColourPalette::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        pick(event->position().toPoint());
}

void ColourPalette::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging)
        return Control::mouseReleaseEvent(event);
    m_dragging = false;
    QPointer<ColourPalette> self(this);
    pick(event->position().toPoint());
    if (self) // the ColourPicked handler may have removed the palette
        notify(Notify::Click, bgrFromColour(m_colour));
}

} // namespace corvane::ui

namespace corvane::ui {

void ColourPalette::keyPressEvent(QKeyEvent* event) {
    struct Step {
        int key;
        int dx;
        int dy;
    };
    static constexpr Step kSteps[] = {
        {Qt::Key_Left, -1, 0}, {Qt::Key_Right, 1, 0}, {Qt::Key_Up, 0, -1}, {Qt::Key_Down, 0, 1}};
    const QRect f = field();
    // About fifty steps across the hues and twenty through the saturations.
    const QPoint stride(std::max(1, f.width() / 50), std::max(1, f.height() / 20));
    for (const Step& step : kSteps) {
        if (event->key() != step.key)
            continue;
        QPointer<ColourPalette> self(this);
        pick(markerPoint() + QPoint(step.dx * stride.x(), step.dy * stride.y()));
        if (self)
            notify(Notify::Click, bgrFromColour(m_colour));
        return;
    }
    Control::keyPressEvent(event);
}

} // namespace corvane::ui
