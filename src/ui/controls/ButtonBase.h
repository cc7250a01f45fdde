#pragma once
// ui/controls: buttons, check boxes, drop-downs, sliders, fields, menus; includes base/.
// Shared mouse and keyboard handling of the button-like controls: a press followed by a
// release over the control, or Space / Enter while it has the focus, is a click.

#include "ui/base/Control.h"

namespace corvane::ui {

class ButtonBase : public Control {
public:
    ButtonBase(int id, QWidget* parent);

protected:
    // One user click; the subclass changes its state and notifies.
    virtual void clicked() = 0;

    bool isHovered() const { return m_hovered; }
    bool isDown() const { return m_down; }

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool m_hovered = false;
    bool m_down = false;
};

} // namespace corvane::ui
