#include "ui/access/ItemAccess.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPointer>
#include <QWidget>

namespace corvane::ui {

namespace {

// One item of an item control. It holds no object of its own: it reads everything from
// its list's table each time, so it never shows a stale text or state.
class ItemAccess : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ItemAccess(QWidget* widget, int index) : m_widget(widget), m_index(index) {}

    bool isValid() const override { return list() && m_index < list()->table().count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list() ? list()->window() : nullptr; }
    QAccessibleInterface* parent() const override { return list(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name)
            return {};
        return list()->table().name(m_index);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect r = list()->table().rect(m_index);
        return r.isEmpty() ? QRect() : QRect(m_widget->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::Role role() const override {
        return list() ? list()->table().itemRole : QAccessible::NoRole;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const ItemTable& table = list()->table();
        const bool current = table.current() == m_index;
        s.selectable = true;
        s.selected = current;
        s.focusable = m_widget->focusPolicy() != Qt::NoFocus;
        s.focused = current && m_widget->hasFocus();
        s.disabled = !m_widget->isEnabled();
        // An item of a hidden page, a closed drop-down or scrolled out of view is not shown.
        s.invisible = !m_widget->isVisible() || table.rect(m_index).isEmpty() ||
                      !m_widget->rect().intersects(table.rect(m_index));
        s.offscreen = s.invisible;
        if (table.itemRole == QAccessible::PageTab) {
            s.checkable = true;
            s.checked = current;
        }
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override {
        return isValid() && m_widget->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && m_widget->isEnabled())
            list()->table().press(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    ItemListAccess* list() const {
        if (!m_widget)
            return nullptr;
        return static_cast<ItemListAccess*>(QAccessible::queryAccessibleInterface(m_widget));
    }

    QPointer<QWidget> m_widget;
    int m_index;
};

} // namespace

ItemListAccess::ItemListAccess(QWidget* widget, ItemTable table)
    : QAccessibleWidget(widget, table.listRole), m_table(std::move(table)) {}

ItemListAccess::~ItemListAccess() {
    for (QAccessible::Id id : std::as_const(m_children))
        QAccessible::deleteAccessibleInterface(id);
}

int ItemListAccess::childCount() const {
    return widget() ? m_table.count() : 0;
}

QAccessibleInterface* ItemListAccess::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    auto found = m_children.constFind(index);
    if (found != m_children.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto* item = new ItemAccess(widget(), index);
    m_children.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int ItemListAccess::indexOfChild(const QAccessibleInterface* child) const {
    for (auto it = m_children.constBegin(); it != m_children.constEnd(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key() < childCount() ? it.key() : -1;
    }
    return -1;
}

QAccessibleInterface* ItemListAccess::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface* item = child(i);
        if (item && item->rect().contains(x, y))
            return item;
    }
    return nullptr;
}

QAccessibleInterface* ItemListAccess::focusChild() const {
    if (!widget() || !widget()->hasFocus())
        return nullptr;
    const int current = m_table.current();
    return current >= 0 ? child(current) : nullptr;
}

QString ItemListAccess::text(QAccessible::Text t) const {
    QString own = QAccessibleWidget::text(t);
    if (t != QAccessible::Name || !own.isEmpty())
        return own;
    // A drop-down's list is read by the drop-down's name.
    if (QAccessibleInterface* up = parent(); up && up->role() == QAccessible::ComboBox)
        return up->text(QAccessible::Name);
    return widget()->toolTip();
}

QAccessibleInterface* ItemListAccess::parent() const {
    // A drop-down's list lives in a pop-up window of its own; to the reader it belongs to
    // the drop-down.
    QWidget* w = widget();
    if (w && w->parentWidget()) {
        if (auto* combo = qobject_cast<QComboBox*>(w->parentWidget()->parentWidget());
            combo && static_cast<QWidget*>(combo->view()) == w)
            return QAccessible::queryAccessibleInterface(combo);
    }
    return QAccessibleWidget::parent();
}

} // namespace corvane::ui
