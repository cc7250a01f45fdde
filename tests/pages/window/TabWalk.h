#pragma once
// Keyboard reach of a page: the controls Tab walks through, and the controls the page
// has that a Tab could reach (shown, enabled, taking the focus by Tab).

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <set>
#include <vector>

namespace corvane::pages::test {

// Every widget below `container` that a Tab can give the focus to.
inline std::set<QWidget*> focusableControls(const QWidget* container) {
    std::set<QWidget*> found;
    for (QWidget* widget : container->findChildren<QWidget*>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(container) &&
            widget->isEnabled() && !widget->focusProxy())
            found.insert(widget);
    }
    return found;
}

// The first of the container's focusable controls in the window's Tab order.
inline QWidget* firstInTabOrder(QWidget* container) {
    const std::set<QWidget*> focusable = focusableControls(container);
    QWidget* widget = container->nextInFocusChain();
    while (widget != container && !focusable.count(widget))
        widget = widget->nextInFocusChain();
    return widget == container ? nullptr : widget;
}

// Gives `first` the focus and presses Tab until the focus leaves `container` or comes
// back to `first`: the widgets that had the focus, in order.
inline std::vector<QWidget*> walkWithTab(QWidget* container, QWidget* first) {
    std::vector<QWidget*> reached;
    first->setFocus(Qt::TabFocusReason);
    QWidget* current = QApplication::focusWidget();
    // Bounded by the page's own controls: a cycle that never returns to the first one
    // ends too.
    const std::size_t most = focusableControls(container).size() + 1;
    while (current && container->isAncestorOf(current) && reached.size() < most) {
        reached.push_back(current);
        QTest::keyClick(current, Qt::Key_Tab);
        current = QApplication::focusWidget();
        if (current == reached.front())
            break;
    }
    return reached;
}

} // namespace corvane::pages::test
