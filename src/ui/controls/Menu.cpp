#include "ui/controls/Menu.h"

#include "ui/base/Dialog.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>

namespace corvane::ui {

void PopupMenu::addItem(const QString& text, int commandId, bool enabled) {
    m_items.append({text, commandId, enabled, false});
}

void PopupMenu::addSeparator() {
    m_items.append({{}, 0, false, true});
}

bool PopupMenu::popup(Dialog* owner, const QPoint& globalPos, int message) const {
    if (!owner || !owner->isCreated() || m_items.isEmpty())
        return false;
    auto* menu = new QMenu(owner);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const Item& item : m_items) {
        if (item.separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.text);
        action->setData(item.commandId);
        action->setEnabled(item.enabled);
    }
    QPointer<Dialog> target(owner);
    QObject::connect(menu, &QMenu::triggered, menu, [target, message](QAction* action) {
        if (target)
            target->postMessage(message, action->data().toInt(), 0);
    });
    menu->popup(globalPos);
    return true;
}

void closePopupMenus() {
    // Each close removes the pop-up from the stack; the bound guards against one that
    // refuses to close.
    for (int i = 0; i < 16; ++i) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup)
            return;
        popup->close();
    }
}

} // namespace corvane::ui
