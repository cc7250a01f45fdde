#pragma once
// The accessible face of a control that draws itself (buttons, check boxes, texts,
// pictures, panels) or hosts a stock widget: its role, name, states and actions.

#include <QAccessibleWidget>

namespace corvane::ui {

class ControlAccess : public QAccessibleWidget {
public:
    ControlAccess(QWidget* widget, QAccessible::Role role);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    // The role a control of this kind plays; Client when the widget is none of ours.
    static QAccessible::Role roleOf(QWidget* widget);
};

} // namespace corvane::ui

namespace corvane::ui {

// The stock drop-down inside a ComboBox: named like the control (not by its current item,
// which is its value), its list of items as its one child.
class DropDownAccess : public QAccessibleWidget {
public:
    explicit DropDownAccess(QWidget* comboBox);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
};

} // namespace corvane::ui
