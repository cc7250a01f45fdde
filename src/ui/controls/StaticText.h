#pragma once
// Text and pictures. Both let the mouse through to what lies beneath (so a press on a
// caption picture still moves the window) unless made clickable.

#include "ui/base/Control.h"

namespace corvane::ui {

// Base of the passive controls: transparent for the mouse until setClickable(true); a
// clickable one notifies Click when pressed and released over it.
class PassiveControl : public Control {
public:
    PassiveControl(int id, QWidget* parent);
    void setClickable(bool on);
    bool isClickable() const { return m_clickable; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_clickable = false;
    bool m_pressed = false;
};

// Static text, wrapped at word boundaries within its rectangle (or on one line, elided).
class StaticText : public PassiveControl {
public:
    StaticText(int id, QWidget* parent);
    void setWordWrap(bool on);
    bool wordWrap() const { return m_wrap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_wrap = true;
};

} // namespace corvane::ui
