#pragma once
// Drop-down list of text items, each with an integer data value and an optional colour mark.

#include "ui/base/Control.h"

class QComboBox;

namespace corvane::ui {

class ComboBox : public Control {
public:
    ComboBox(int id, QWidget* parent);

    // Appends an item; returns its index. A valid `mark` draws a colour dot before the text.
    int addItem(const QString& text, int data = 0, const QColor& mark = {});
    void clear();
    int count() const;

    // -1 when nothing is selected. Setting -1 clears the selection. Never notifies.
    int currentIndex() const;
    void setCurrentIndex(int index);
    // The current item's data, 0 when nothing is selected.
    int currentData() const;
    // Selects the first item carrying data; false (selection unchanged) when none does.
    bool selectData(int data);
    int findData(int data) const;

    int itemData(int index) const;
    QString itemText(int index) const;
    void setItemText(int index, const QString& text);

    // The current item's text (the title text is not shown by a combo box).
    QString text() const override;

    // The user's choice of an item (also the same one again) notifies Click with
    // param1 = index, param2 = data.

private:
    QComboBox* m_box;
};

} // namespace corvane::ui
