#pragma once
// The list of the mouse's keys: one row per key with its name, the description of its
// current function and its key value.

#include "ui/views/ItemControl.h"

#include <QList>

namespace corvane::ui {

class KeyList : public ItemControl {
public:
    KeyList(int id, QWidget* parent);

    // Appends a row; returns its index.
    int addRow(const QString& name, const QString& description, int keyValue);
    void clear();
    int count() const { return int(m_rows.size()); }

    QString name(int index) const;
    void setName(int index, const QString& name);
    QString description(int index) const;
    void setDescription(int index, const QString& description);
    // Sets the description of every row with this key value; false when there is none.
    bool setDescriptionOfKey(int keyValue, const QString& description);
    int keyValue(int index) const; // -1 for a bad index
    int indexOfKey(int keyValue) const;

    // -1 when none. Never notify.
    int selectedIndex() const { return m_selected; }
    void select(int index);
    void clearSelection() { select(-1); }

    void setRowHeight(int pixels);
    int rowHeight() const { return m_rowHeight; }
    // The height that shows every row, in design pixels (to size the list to fit).
    int fittingHeight() const { return count() * m_rowHeight; }
    QRect rowRect(int index) const;

    // A click on a row (also the selected one) selects it and notifies Click with
    // param1 = index, param2 = key value.

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    int itemAt(const QPoint& point) const override;

private:
    struct Row {
        QString name;
        QString description;
        int keyValue;
    };
    QList<Row> m_rows;
    int m_selected = -1;
    int m_rowHeight = 40;
};

} // namespace corvane::ui
