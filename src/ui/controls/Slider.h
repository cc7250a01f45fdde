#pragma once
// Slider over an integer range. A click on the groove moves the thumb there.

#include "ui/base/Control.h"

class QSlider;

namespace corvane::ui {

class Slider : public Control {
public:
    Slider(int id, QWidget* parent);

    // Never notify (a position outside a new range is pulled into it silently).
    void setRange(int minimum, int maximum);
    void setPosition(int position);
    int position() const;
    int minimum() const;
    int maximum() const;

    void setVertical(bool vertical);

    // While the user holds the mouse button on it (dragging the thumb, or after a click
    // on the groove, which jumps there), every new position notifies Moving (param1 =
    // position); the release notifies Click with the final position when the position
    // changed. A keyboard or wheel step notifies Moving and then Click at once, so every
    // user change ends with exactly one Click.

private:
    class Inner;
    Inner* m_slider;
};

} // namespace corvane::ui
