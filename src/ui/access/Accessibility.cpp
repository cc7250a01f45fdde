#include "ui/access/Accessibility.h"

#include "ui/access/ControlAccess.h"
#include "ui/access/ItemAccess.h"
#include "ui/base/Dialog.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/ListBox.h"
#include "ui/views/DeviceList.h"
#include "ui/views/KeyList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/TabControl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QMouseEvent>

namespace corvane::ui {

namespace {

// Does what a click in the middle of `r` does.
void clickAt(QWidget* w, const QRect& r) {
    if (r.isEmpty())
        return;
    const QPointF at = QRectF(r).center();
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

template <class C, class Name, class Rect, class Current>
ItemTable tableOf(C* c, QAccessible::Role listRole, QAccessible::Role itemRole, Name name,
                  Rect rect, Current current) {
    ItemTable t;
    t.listRole = listRole;
    t.itemRole = itemRole;
    t.count = [c] { return c->count(); };
    t.name = [c, name](int i) { return name(c, i); };
    t.rect = [c, rect](int i) { return rect(c, i); };
    t.current = [c, current] { return current(c); };
    t.press = [c, rect](int i) { clickAt(c, rect(c, i)); };
    return t;
}

// The rows of a stock list or drop-down list, in the view's coordinates.
ItemTable viewTable(QAbstractItemView* view) {
    ItemTable t;
    auto index = [view](int row) { return view->model()->index(row, 0, view->rootIndex()); };
    t.count = [view] { return view->model() ? view->model()->rowCount(view->rootIndex()) : 0; };
    t.name = [index](int row) { return index(row).data(Qt::DisplayRole).toString(); };
    t.rect = [view, index](int row) {
        const QRect r = view->visualRect(index(row));
        const QRect shown = r.intersected(view->viewport()->rect());
        return shown.isEmpty() ? QRect()
                               : shown.translated(view->viewport()->mapTo(view, QPoint(0, 0)));
    };
    t.current = [view] { return view->currentIndex().isValid() ? view->currentIndex().row() : -1; };
    t.press = [view, index](int row) {
        view->scrollTo(index(row));
        clickAt(view->viewport(), view->visualRect(index(row)));
    };
    return t;
}

// A stock item view that one of our lists or drop-downs hosts.
bool isOurView(QAbstractItemView* view) {
    for (QWidget* w = view->parentWidget(); w; w = w->parentWidget()) {
        if (dynamic_cast<ListBox*>(w) || dynamic_cast<ComboBox*>(w))
            return true;
        if (dynamic_cast<Control*>(w) || dynamic_cast<Dialog*>(w))
            return false;
    }
    return false;
}

QString keyRowName(KeyList* list, int i) {
    const QString description = list->description(i);
    return description.isEmpty() ? list->name(i)
                                 : list->name(i) + QStringLiteral(": ") + description;
}

QAccessibleInterface* accessibleFor(const QString& /*className*/, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (auto* view = qobject_cast<QAbstractItemView*>(w))
        return isOurView(view) ? new ItemListAccess(view, viewTable(view)) : nullptr;
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return dynamic_cast<ComboBox*>(combo->parentWidget()) ? new DropDownAccess(combo) : nullptr;
    if (auto* tabs = dynamic_cast<TabControl*>(w)) {
        return new ItemListAccess(w, tableOf(
                                         tabs, QAccessible::PageTabList, QAccessible::PageTab,
                                         [](TabControl* c, int i) { return c->itemText(i); },
                                         [](TabControl* c, int i) { return c->itemRect(i); },
                                         [](TabControl* c) { return c->currentIndex(); }));
    }
    if (auto* keys = dynamic_cast<KeyList*>(w)) {
        return new ItemListAccess(
            w, tableOf(
                   keys, QAccessible::List, QAccessible::ListItem, keyRowName,
                   [](KeyList* c, int i) { return c->rowRect(i).intersected(c->rect()); },
                   [](KeyList* c) { return c->selectedIndex(); }));
    }
    if (auto* devices = dynamic_cast<DeviceList*>(w)) {
        return new ItemListAccess(w, tableOf(
                                         devices, QAccessible::List, QAccessible::ListItem,
                                         [](DeviceList* c, int i) { return c->entryName(i); },
                                         [](DeviceList* c, int i) { return c->entryRect(i); },
                                         [](DeviceList* c) { return c->selectedIndex(); }));
    }
    if (auto* picture = dynamic_cast<MousePicture*>(w)) {
        return new ItemListAccess(w, tableOf(
                                         picture, QAccessible::Graphic, QAccessible::PushButton,
                                         [](MousePicture* c, int i) { return c->calloutText(i); },
                                         [](MousePicture* c, int i) { return c->calloutRect(i); },
                                         [](MousePicture* c) { return c->selectedIndex(); }));
    }
    if (dynamic_cast<Control*>(w) || dynamic_cast<Dialog*>(w))
        return new ControlAccess(w, ControlAccess::roleOf(w));
    return nullptr;
}

} // namespace

void installAccessibility() {
    // Installing the same factory twice is a no-op.
    QAccessible::installFactory(accessibleFor);
}

} // namespace corvane::ui
