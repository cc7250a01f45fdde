#pragma once
// List of text items, each with an integer data value, and one current item.

#include "ui/base/Control.h"

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
    // A click on an item that was not the current one, or Return on the current item,
    // also notifies ItemChosen (index, data).

    // In-place editing of the item texts: a click on the current item or F2 starts it.
    // An edit that changed the text notifies EditEnded (index, data).
    void setEditable(bool on);
    // Starts editing an item (the list must be editable).
    void editItem(int index);
    bool isEditing() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* m_list;
    QObject* m_viewport = nullptr;
    bool m_editable = false;
    int m_currentAtPress = -1;
};

} // namespace corvane::ui
