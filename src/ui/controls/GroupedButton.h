#pragma once
// Buttons with an on state that belong to a named group: within one dialog, at most one
// member of a group is on. RadioButton and ColourSwatch are grouped buttons.

#include "ui/controls/ButtonBase.h"

#include <QList>

namespace corvane::ui {

class GroupedButton : public ButtonBase {
public:
    GroupedButton(int id, QWidget* parent);

    // Group name (for example "IDC_PER_STC_LOD"); empty = no group. Joining a group turns
    // this button off if another member is on.
    void setGroup(const QString& name);
    QString group() const { return m_group; }

    // Turning a member on turns the other members of its group off. Never notifies.
    void setChecked(bool on);
    bool isChecked() const { return m_checked; }

    // The members of this button's group in its dialog (itself included), in creation order.
    QList<GroupedButton*> groupMembers() const;

private:
    QString m_group;
    bool m_checked = false;
};

// Radio button: a round indicator and its text. A click on an unchecked button checks it,
// unchecks the rest of its group and notifies Click (param1 = 1); a click on the checked
// one changes nothing and sends nothing.
class RadioButton : public GroupedButton {
public:
    RadioButton(int id, QWidget* parent);
    // Indicator images for the unchecked and checked states (drawn when missing).
    void setImages(const QString& off, const QString& on);

protected:
    void clicked() override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_off, m_on;
};

} // namespace corvane::ui
