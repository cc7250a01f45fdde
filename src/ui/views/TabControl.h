#pragma once
// Tab control: a column (or row) of items, each with a text, an item id and an icon.

#include "ui/views/ItemControl.h"

#include <QList>
#include <QSize>

namespace corvane::ui {

class TabControl : public ItemControl {
public:
    TabControl(int id, QWidget* parent);

    // Appends an item; returns its index. The icon is a skin image (optional).
    int addItem(const QString& text, int itemId, const QString& icon = {});
    void clear();
    int count() const { return int(m_items.size()); }

    int itemId(int index) const;       // 0 for a bad index
    int indexOfItem(int itemId) const; // -1 when absent
    QString itemText(int index) const;
    void setItemText(int index, const QString& text);
    // A hidden item takes no room and cannot be chosen; hiding the current one clears
    // the selection.
    void setItemVisible(int index, bool visible);
    bool isItemVisible(int index) const;

    // -1 when none. Never notifies.
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    int currentItemId() const { return itemId(m_current); }

    // Items are stacked top to bottom (default) or left to right, each of this size.
    void setVertical(bool vertical);
    void setItemSize(const QSize& size);
    // Where a visible item is drawn (empty when hidden), and where its text goes (right of
    // its icon when the skin has the icon).
    QRect itemRect(int index) const;
    QRect itemTextRect(int index) const;

    // A click on a visible item (also the current one) makes it current and notifies
    // Click with param1 = index, param2 = item id. The keyboard reaches the control with
    // Tab; the arrow keys, Home and End choose an item the same way.

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    int itemAt(const QPoint& point) const override;

private:
    void choose(int index);
    // The next visible item from `from` in direction step (+1 or -1); -1 when none.
    int visibleFrom(int from, int step) const;

    struct Item {
        QString text;
        int id;
        QString icon;
        bool visible = true;
    };

    QList<Item> m_items;
    int m_current = -1;
    bool m_vertical = true;
    QSize m_itemSize{190, 60};
};

} // namespace corvane::ui
