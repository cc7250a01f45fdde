#pragma once
// List of text items, each with an integer data value, and one current item.

#include "ui/Control.h"

class QListWidget;

namespace corvane::ui {

class ListBox : public Control {
public:
    ListBox(int id, QWidget* parent);

    // Appends an item (or inserts it before `index`); returns its index.
    int addItem(const QString& text, int data = 0);
    int insertItem(int index, const QString& text, int data = 0);
    void removeItem(int index);
    void clear();
    int count() const;

    // -1 when none. Setting -1 clears the selection. Never notifies.
    int currentIndex() const;
    void setCurrentIndex(int index);
    int currentData() const;

    int itemData(int index) const;
    void setItemData(int index, int data);
    QString itemText(int index) const;
    void setItemText(int index, const QString& text);
    int findData(int data) const;

    // When the user makes another item current (mouse or keyboard) it notifies Click with
    // param1 = index, param2 = data; a click on the current item sends nothing.

private:
    QListWidget* m_list;
};

} // namespace corvane::ui
