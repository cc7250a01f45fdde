#pragma once
// ui/views: item and picture controls (tabs, device and key lists, palette); uses controls/.

#include "ui/base/Control.h"

namespace corvane::ui {

// A control made of items it draws itself (rows, tabs, list entries, callouts). It
// follows which item the mouse is over and repaints when that changes; subclasses say
// where the items lie and draw the hovered one highlighted.
class ItemControl : public Control {
public:
    using Control::Control;

protected:
    // The item under `point` (widget coordinates), -1 for none.
    virtual int itemAt(const QPoint& point) const = 0;

    // The item under the mouse, -1 for none.
    int hoveredItem() const { return m_hover; }
    // Forget the hovered item, e.g. when the items are cleared.
    void clearHover() { m_hover = -1; }
    // Show the pointing-hand cursor over items (for items that are clicked).
    void setPointingCursor(bool on) { m_pointingCursor = on; }

    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int m_hover = -1;
    bool m_pointingCursor = false;
};

} // namespace corvane::ui
