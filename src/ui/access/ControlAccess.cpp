#include "ui/access/ControlAccess.h"

#include "ui/base/Dialog.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/ProgressBar.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourPalette.h"
#include "ui/views/ColourSwatch.h"
#include "ui/views/Picture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace corvane::ui {

namespace {

// Controls that host a stock widget: the stock widget carries the role, value and focus,
// the control around it is only its frame.
bool hostsStockWidget(QWidget* w) {
    return dynamic_cast<ComboBox*>(w) || dynamic_cast<Slider*>(w) || dynamic_cast<TextField*>(w) ||
           dynamic_cast<ListBox*>(w) || dynamic_cast<ProgressBar*>(w);
}

bool isCheckable(QWidget* w) {
    if (auto* push = dynamic_cast<PushButton*>(w))
        return push->isCheckable();
    if (auto* swatch = dynamic_cast<ColourSwatch*>(w))
        return !swatch->group().isEmpty();
    return dynamic_cast<CheckBox*>(w) || dynamic_cast<GroupedButton*>(w);
}

bool isChecked(QWidget* w) {
    if (auto* push = dynamic_cast<PushButton*>(w))
        return push->isChecked();
    if (auto* box = dynamic_cast<CheckBox*>(w))
        return box->isChecked();
    if (auto* grouped = dynamic_cast<GroupedButton*>(w))
        return grouped->isChecked();
    return false;
}

// A click the way the user makes one: Space on a button, a press and release in the
// middle of a clickable text or picture.
void click(QWidget* w) {
    if (dynamic_cast<ButtonBase*>(w)) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(w, &press);
        QCoreApplication::sendEvent(w, &release);
        return;
    }
    const QPointF centre = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

bool isPressable(QWidget* w) {
    if (dynamic_cast<ButtonBase*>(w))
        return true;
    auto* passive = dynamic_cast<PassiveControl*>(w);
    return passive && passive->isClickable();
}

} // namespace

ControlAccess::ControlAccess(QWidget* widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role) {}

QAccessible::Role ControlAccess::roleOf(QWidget* w) {
    if (auto* dialog = dynamic_cast<Dialog*>(w))
        return dialog->isWindow() ? QAccessible::Window : QAccessible::Pane;
    if (hostsStockWidget(w) || dynamic_cast<Panel*>(w))
        return QAccessible::Grouping;
    if (auto* push = dynamic_cast<PushButton*>(w)) {
        if (push->isLinkStyle())
            return QAccessible::Link;
        return QAccessible::PushButton;
    }
    if (dynamic_cast<CheckBox*>(w))
        return QAccessible::CheckBox;
    if (auto* swatch = dynamic_cast<ColourSwatch*>(w))
        return swatch->group().isEmpty() ? QAccessible::PushButton : QAccessible::RadioButton;
    if (dynamic_cast<GroupedButton*>(w))
        return QAccessible::RadioButton;
    if (dynamic_cast<ColourPalette*>(w))
        return QAccessible::ColorChooser;
    if (auto* picture = dynamic_cast<Picture*>(w))
        return picture->isClickable() ? QAccessible::PushButton : QAccessible::Graphic;
    if (auto* text = dynamic_cast<StaticText*>(w))
        return text->isClickable() ? QAccessible::Link : QAccessible::StaticText;
    if (dynamic_cast<Control*>(w))
        return QAccessible::Grouping;
    return QAccessible::Client;
}

QString ControlAccess::text(QAccessible::Text t) const {
    QWidget* w = widget();
    if (t == QAccessible::Name) {
        if (!w->accessibleName().isEmpty())
            return w->accessibleName();
        if (auto* dialog = dynamic_cast<Dialog*>(w); dialog && !w->windowTitle().isEmpty())
            return w->windowTitle();
        if (auto* control = dynamic_cast<Control*>(w);
            control && !hostsStockWidget(w) && !control->text().isEmpty())
            return control->text();
        if (auto* swatch = dynamic_cast<ColourSwatch*>(w); swatch && w->toolTip().isEmpty())
            return swatch->colour().name();
        return w->toolTip();
    }
    if (t == QAccessible::Description) {
        const QString tip = w->toolTip();
        return tip == text(QAccessible::Name) ? QString() : tip;
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State ControlAccess::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    QWidget* w = widget();
    if (hostsStockWidget(w)) {
        // The hosted widget takes the focus; reporting it here as well would read the
        // control twice.
        s.focusable = false;
        s.focused = false;
    }
    if (isCheckable(w)) {
        s.checkable = true;
        s.checked = isChecked(w);
    }
    if (w->isVisible() && !w->isEnabled())
        s.disabled = true;
    return s;
}

QStringList ControlAccess::actionNames() const {
    QStringList names;
    QWidget* w = widget();
    if (w->isEnabled()) {
        if (dynamic_cast<CheckBox*>(w) || (isCheckable(w) && dynamic_cast<PushButton*>(w)))
            names << toggleAction();
        else if (isPressable(w))
            names << pressAction();
    }
    return names + QAccessibleWidget::actionNames();
}

void ControlAccess::doAction(const QString& actionName) {
    QWidget* w = widget();
    if (!w->isEnabled())
        return;
    if ((actionName == pressAction() || actionName == toggleAction()) && isPressable(w)) {
        click(w);
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QStringList ControlAccess::keyBindingsForAction(const QString& actionName) const {
    if ((actionName == pressAction() || actionName == toggleAction()) &&
        dynamic_cast<ButtonBase*>(widget()))
        return {QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

} // namespace corvane::ui

namespace corvane::ui {

namespace {
QComboBox* comboOf(QWidget* w) {
    return static_cast<QComboBox*>(w);
}
} // namespace

DropDownAccess::DropDownAccess(QWidget* comboBox)
    : QAccessibleWidget(comboBox, QAccessible::ComboBox) {}

QString DropDownAccess::text(QAccessible::Text t) const {
    if (t == QAccessible::Value)
        return comboOf(widget())->currentText();
    return QAccessibleWidget::text(t);
}

QAccessible::State DropDownAccess::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = comboOf(widget())->view()->isVisible();
    s.collapsed = !s.expanded;
    return s;
}

int DropDownAccess::childCount() const {
    return 1;
}

QAccessibleInterface* DropDownAccess::child(int index) const {
    return index == 0 ? QAccessible::queryAccessibleInterface(comboOf(widget())->view()) : nullptr;
}

int DropDownAccess::indexOfChild(const QAccessibleInterface* child) const {
    return child && child->object() == comboOf(widget())->view() ? 0 : -1;
}

QStringList DropDownAccess::actionNames() const {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void DropDownAccess::doAction(const QString& actionName) {
    if (actionName == showMenuAction() || actionName == pressAction()) {
        if (widget()->isEnabled())
            comboOf(widget())->showPopup();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

} // namespace corvane::ui
