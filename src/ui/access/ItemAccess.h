#pragma once
// The accessible face of a control made of items (the tab column, the key list, the device
// list, the mouse picture's callouts, the rows of a list or drop-down): a list whose items
// are children with their own name, rectangle and selected state.

#include <QAccessibleWidget>
#include <QHash>

#include <functional>

namespace corvane::ui {

// How to read the items of one control.
struct ItemTable {
    QAccessible::Role listRole = QAccessible::List;
    QAccessible::Role itemRole = QAccessible::ListItem;
    std::function<int()> count;
    std::function<QString(int)> name;
    // In the control's coordinates; empty for an item that is not shown.
    std::function<QRect(int)> rect;
    // The current (selected) item, -1 for none.
    std::function<int()> current;
    // Does what a click on the item does.
    std::function<void(int)> press;
};

class ItemListAccess : public QAccessibleWidget {
public:
    ItemListAccess(QWidget* widget, ItemTable table);
    ~ItemListAccess() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;

    const ItemTable& table() const { return m_table; }

private:
    ItemTable m_table;
    mutable QHash<int, QAccessible::Id> m_children;
};

} // namespace corvane::ui
