#include "ui/controls/GroupedButton.h"

#include "ui/base/Announce.h"
#include "ui/base/Dialog.h"
#include "ui/controls/CheckBox.h"

#include <QPainter>

namespace corvane::ui {

GroupedButton::GroupedButton(int id, QWidget* parent) : ButtonBase(id, parent) {}

void GroupedButton::setGroup(const QString& name) {
    m_group = name;
    if (!m_checked)
        return;
    for (GroupedButton* other : groupMembers()) {
        if (other != this && other->m_checked) {
            m_checked = false;
            update();
            break;
        }
    }
}

QList<GroupedButton*> GroupedButton::groupMembers() const {
    if (m_group.isEmpty())
        return {const_cast<GroupedButton*>(this)};
    Dialog* dialog = owner();
    QWidget* scope = dialog ? static_cast<QWidget*>(dialog) : parentWidget();
    QList<GroupedButton*> members;
    if (!scope)
        return {const_cast<GroupedButton*>(this)};
    // dynamic_cast rather than findChildren<GroupedButton*>: the controls carry no
    // meta-object of their own.
    for (QWidget* w : scope->findChildren<QWidget*>()) {
        auto* b = dynamic_cast<GroupedButton*>(w);
        if (b && b->m_group == m_group && b->owner() == dialog)
            members.append(b);
    }
    return members;
}

void GroupedButton::setChecked(bool on) {
    if (on) {
        for (GroupedButton* other : groupMembers()) {
            if (other != this && other->m_checked) {
                other->m_checked = false;
                other->update();
                announceChecked(other);
            }
        }
    }
    if (m_checked != on) {
        m_checked = on;
        update();
        announceChecked(this);
    }
}

RadioButton::RadioButton(int id, QWidget* parent) : GroupedButton(id, parent) {}

void RadioButton::setImages(const QString& off, const QString& on) {
    m_off = off;
    m_on = on;
    update();
}

void RadioButton::clicked() {
    if (isChecked())
        return;
    setChecked(true);
    notify(Notify::Click, 1);
}

void RadioButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    paintIndicatorAndText(p, *this, rect(), isChecked(), true, isHovered(),
                          isChecked() ? m_on : m_off);
}

} // namespace corvane::ui
