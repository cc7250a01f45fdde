#pragma once
// Colour palette: a field of hues (left to right) and saturations (full at the top, white
// at the bottom) at full brightness, the colours a lighting effect can show. The user
// presses and drags to pick.

#include "ui/base/Control.h"

namespace corvane::ui {

class ColourPalette : public Control {
public:
    ColourPalette(int id, QWidget* parent);

    // The selected colour; the marker moves to the nearest colour of the field, while
    // colour() keeps returning exactly what was set until the user picks. Never notifies.
    void setColour(const QColor& colour);
    QColor colour() const { return m_colour; }

    // The colour of the field at a point of the control.
    QColor colourAt(const QPoint& point) const;

    // While the button is held (press and drag) every change of the picked colour notifies
    // ColourPicked with param1 = colour as 0x00BBGGRR; the release notifies Click with the
    // final colour. With the keyboard focus the arrow keys move the marker (left and right
    // through the hues, up and down through the saturations); each step is a whole pick:
    // ColourPicked, then Click.

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect field() const;
    QPoint markerPoint() const;
    void pick(const QPoint& point);

    QColor m_colour = Qt::red;
    QPointF m_marker; // hue and saturation, 0..1 each
    QImage m_cache;
    bool m_dragging = false;
};

} // namespace corvane::ui
