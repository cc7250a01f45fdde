#include "ui/base/Announce.h"

#include <QAccessible>
#include <QWidget>

namespace corvane::ui {

void announceChecked(QWidget* control) {
    if (!control || !QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(control, changed);
    QAccessible::updateAccessibility(&event);
}

void announceCurrentItem(QWidget* control, int item) {
    if (!control || !QAccessible::isActive() || item < 0)
        return;
    QAccessibleEvent selection(control, QAccessible::Selection);
    selection.setChild(item);
    QAccessible::updateAccessibility(&selection);
    if (control->hasFocus()) {
        QAccessibleEvent focus(control, QAccessible::Focus);
        focus.setChild(item);
        QAccessible::updateAccessibility(&focus);
    }
}

} // namespace corvane::ui
