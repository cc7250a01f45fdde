#include "ui/controls/ListBox.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QSignalBlocker>

#include <algorithm>

namespace corvane::ui {

ListBox::ListBox(int id, QWidget* parent) : Control(id, parent), m_list(new QListWidget(this)) {
    m_list->setFocusPolicy(Qt::StrongFocus);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFrameShape(QFrame::NoFrame);
    host(m_list);
    // Every change made in code runs under a QSignalBlocker, so this fires for the user only.
    QObject::connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            notify(Notify::Click, row, itemData(row));
    });
    QObject::connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = m_list->row(item);
        if (row >= 0 && row != m_currentAtPress)
            notify(Notify::ItemChosen, row, itemData(row));
    });
    QObject::connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = m_list->row(item);
        if (row >= 0)
            notify(Notify::EditEnded, row, itemData(row));
    });
    m_viewport = m_list->viewport();
    m_viewport->installEventFilter(this);
    m_list->installEventFilter(this);
}

void ListBox::setEditable(bool on) {
    m_editable = on;
    const QSignalBlocker block(m_list);
    m_list->setEditTriggers(on ? QAbstractItemView::SelectedClicked |
                                     QAbstractItemView::EditKeyPressed
                               : QAbstractItemView::NoEditTriggers);
    for (int i = 0; i < count(); ++i) {
        QListWidgetItem* item = m_list->item(i);
        item->setFlags(on ? item->flags() | Qt::ItemIsEditable
                          : item->flags() & ~Qt::ItemIsEditable);
    }
}

void ListBox::editItem(int index) {
    if (QListWidgetItem* item = m_list->item(index); item && m_editable) {
        m_list->setCurrentItem(item);
        m_list->editItem(item);
    }
}

bool ListBox::isEditing() const {
    // The view's editor is a child of its viewport, hidden as soon as the edit ends.
    const auto children = m_list->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    return std::any_of(children.begin(), children.end(),
                       [](const QWidget* w) { return w->isVisible(); });
}

bool ListBox::eventFilter(QObject* watched, QEvent* event) {
    // Compared, not followed: the list and its viewport may be going away.
    if (watched == m_viewport && event->type() == QEvent::MouseButtonPress)
        m_currentAtPress = m_list->currentRow();
    if (watched == m_list && event->type() == QEvent::KeyPress && !isEditing()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int row = m_list->currentRow();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && row >= 0) {
            notify(Notify::ItemChosen, row, itemData(row));
            return true;
        }
    }
    return Control::eventFilter(watched, event);
}

int ListBox::addItem(const QString& text, int data) {
    return insertItem(count(), text, data);
}

int ListBox::insertItem(int index, const QString& text, int data) {
    const QSignalBlocker block(m_list);
    index = std::clamp(index, 0, count());
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, data);
    if (m_editable)
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_list->insertItem(index, item);
    return index;
}

void ListBox::removeItem(int index) {
    const QSignalBlocker block(m_list);
    delete m_list->takeItem(index);
}

void ListBox::clear() {
    const QSignalBlocker block(m_list);
    m_list->clear();
}

int ListBox::count() const {
    return m_list->count();
}
int ListBox::currentIndex() const {
    return m_list->currentRow();
}

void ListBox::setCurrentIndex(int index) {
    const QSignalBlocker block(m_list);
    if (index >= 0 && index < count()) {
        m_list->setCurrentRow(index);
    } else {
        m_list->setCurrentRow(-1);
        m_list->clearSelection();
    }
}

int ListBox::currentData() const {
    return itemData(currentIndex());
}

int ListBox::itemData(int index) const {
    const QListWidgetItem* item = m_list->item(index);
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void ListBox::setItemData(int index, int data) {
    const QSignalBlocker block(m_list);
    if (QListWidgetItem* item = m_list->item(index))
        item->setData(Qt::UserRole, data);
}

QString ListBox::itemText(int index) const {
    const QListWidgetItem* item = m_list->item(index);
    return item ? item->text() : QString();
}

void ListBox::setItemText(int index, const QString& text) {
    const QSignalBlocker block(m_list);
    if (QListWidgetItem* item = m_list->item(index))
        item->setText(text);
}

int ListBox::findData(int data) const {
    for (int i = 0; i < count(); ++i) {
        if (itemData(i) == data)
            return i;
    }
    return -1;
}

} // namespace corvane::ui
