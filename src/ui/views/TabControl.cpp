#include "ui/views/TabControl.h"

#include "ui/base/Announce.h"
#include "ui/base/Dialog.h"
#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace corvane::ui {

TabControl::TabControl(int id, QWidget* parent) : ItemControl(id, parent) {
    setMouseTracking(true);
    // Reached with Tab; a click chooses a tab without taking the focus.
    setFocusPolicy(Qt::TabFocus);
}

int TabControl::addItem(const QString& text, int itemId, const QString& icon) {
    m_items.append({text, itemId, icon, true});
    update();
    return count() - 1;
}

void TabControl::clear() {
    m_items.clear();
    m_current = -1;
    clearHover();
    update();
}

int TabControl::itemId(int index) const {
    return index >= 0 && index < count() ? m_items[index].id : 0;
}

int TabControl::indexOfItem(int itemId) const {
    for (int i = 0; i < count(); ++i) {
        if (m_items[i].id == itemId)
            return i;
    }
    return -1;
}

QString TabControl::itemText(int index) const {
    return index >= 0 && index < count() ? m_items[index].text : QString();
}

void TabControl::setItemText(int index, const QString& text) {
    if (index < 0 || index >= count())
        return;
    m_items[index].text = text;
    update();
}

void TabControl::setItemVisible(int index, bool visible) {
    if (index < 0 || index >= count())
        return;
    m_items[index].visible = visible;
    if (!visible && m_current == index)
        m_current = -1;
    update();
}

bool TabControl::isItemVisible(int index) const {
    return index >= 0 && index < count() && m_items[index].visible;
}

void TabControl::setCurrentIndex(int index) {
    m_current = isItemVisible(index) ? index : -1;
    update();
    announceCurrentItem(this, m_current);
}

void TabControl::setVertical(bool vertical) {
    m_vertical = vertical;
    update();
}

void TabControl::setItemSize(const QSize& size) {
    m_itemSize = size;
    update();
}

QRect TabControl::itemRect(int index) const {
    if (!isItemVisible(index))
        return {};
    int slot = 0;
    for (int i = 0; i < index; ++i)
        slot += m_items[i].visible ? 1 : 0;
    // The item size is in design pixels, like the control's rectangle.
    const Dialog* dialog = owner();
    const QSize size = m_itemSize * (dialog ? dialog->interfaceScale() : 1.0);
    const QPoint origin =
        m_vertical ? QPoint(0, slot * size.height()) : QPoint(slot * size.width(), 0);
    return QRect(origin, size);
}

int TabControl::itemAt(const QPoint& point) const {
    for (int i = 0; i < count(); ++i) {
        if (itemRect(i).contains(point))
            return i;
    }
    return -1;
}

namespace {
QRect iconRect(const QRect& item) {
    const int size = std::min(32, item.height() - 16);
    return QRect(item.left() + 20, item.top() + (item.height() - size) / 2, size, size);
}
} // namespace

QRect TabControl::itemTextRect(int index) const {
    const QRect r = itemRect(index);
    if (r.isEmpty())
        return {};
    QRect textRect = r.adjusted(20, 0, -8, 0);
    const QRect icon = iconRect(r);
    if (!m_items[index].icon.isEmpty() && icon.height() > 0 &&
        !skin::image(m_items[index].icon).isNull())
        textRect.setLeft(icon.right() + 12);
    return textRect;
}

void TabControl::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setFont(font());
    for (int i = 0; i < count(); ++i) {
        const QRect r = itemRect(i);
        if (r.isEmpty())
            continue;
        const bool current = i == m_current;
        if (current)
            p.fillRect(r, draw::mix(skin::panelColour(), skin::accentColour(), 0.18));
        else if (i == hoveredItem() && isEnabled())
            p.fillRect(r, skin::hoverColour());
        if (current && hasFocus()) {
            p.setPen(QPen(skin::accentColour(), 1, Qt::DotLine));
            p.drawRect(r.adjusted(1, 1, -2, -2));
        }
        if (current) {
            const QRect bar = m_vertical ? QRect(r.left(), r.top(), 4, r.height())
                                         : QRect(r.left(), r.bottom() - 3, r.width(), 4);
            p.fillRect(bar, skin::accentColour());
        }
        const QRect textRect = itemTextRect(i);
        if (textRect.left() > r.left() + 20)
            draw::image(p, iconRect(r), m_items[i].icon);
        const QColor ink =
            current ? skin::textColour()
                    : (isEnabled() ? skin::mutedTextColour() : skin::disabledTextColour());
        // A name longer than its line goes on to a second line rather than being cut.
        const bool wrap = p.fontMetrics().horizontalAdvance(m_items[i].text) > textRect.width();
        draw::text(p, textRect, m_items[i].text, Qt::AlignLeft | Qt::AlignVCenter,
                   hasTextColour() && !current ? textColour() : ink, wrap);
    }
}

void TabControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return Control::mousePressEvent(event);
    const int index = itemAt(event->position().toPoint());
    if (index < 0)
        return;
    choose(index);
}

void TabControl::choose(int index) {
    m_current = index;
    update();
    announceCurrentItem(this, index);
    notify(Notify::Click, index, m_items[index].id);
}

int TabControl::visibleFrom(int from, int step) const {
    for (int i = from; i >= 0 && i < count(); i += step) {
        if (isItemVisible(i))
            return i;
    }
    return -1;
}

void TabControl::keyPressEvent(QKeyEvent* event) {
    const int back = m_vertical ? Qt::Key_Up : Qt::Key_Left;
    const int forward = m_vertical ? Qt::Key_Down : Qt::Key_Right;
    int target = -1;
    if (event->key() == back)
        target = visibleFrom(m_current < 0 ? count() - 1 : m_current - 1, -1);
    else if (event->key() == forward)
        target = visibleFrom(m_current + 1, +1);
    else if (event->key() == Qt::Key_Home)
        target = visibleFrom(0, +1);
    else if (event->key() == Qt::Key_End)
        target = visibleFrom(count() - 1, -1);
    else
        return Control::keyPressEvent(event);
    if (target >= 0 && target != m_current)
        choose(target);
}

} // namespace corvane::ui
