#pragma once
// Pop-up menus built from (text, command id) items.

#include "ui/base/Dialog.h"

#include <QList>
#include <QPoint>
#include <QString>

namespace corvane::ui {

class PopupMenu {
public:
    void addItem(const QString& text, int commandId, bool enabled = true);
    void addSeparator();
    int count() const { return int(m_items.size()); }

    // Shows the menu at a screen point and returns at once. The chosen item reaches the
    // owner as OnWindowMessage(message, commandId, 0), posted so that it arrives after
    // the menu has closed; closing the menu without a choice sends nothing. False
    // (nothing shown) without an owner that exists or without items.
    bool popup(Dialog* owner, const QPoint& globalPos, int message = Message::Command) const;

private:
    struct Item {
        QString text;
        int commandId;
        bool enabled;
        bool separator;
    };
    QList<Item> m_items;
};

// Closes every open pop-up (menus and combo box lists), choosing nothing.
void closePopupMenus();

} // namespace corvane::ui
