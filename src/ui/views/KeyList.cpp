#include "ui/views/KeyList.h"

#include "ui/base/Announce.h"
#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QKeyEvent>

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace corvane::ui {

KeyList::KeyList(int id, QWidget* parent) : ItemControl(id, parent) {
    setMouseTracking(true);
    // Reachable with Tab; the arrow keys, Home and End move the selection.
    setFocusPolicy(Qt::StrongFocus);
}

int KeyList::addRow(const QString& name, const QString& description, int keyValue) {
    m_rows.append({name, description, keyValue});
    update();
    return count() - 1;
}

void KeyList::clear() {
    m_rows.clear();
    m_selected = -1;
    clearHover();
    update();
}

QString KeyList::name(int index) const {
    return index >= 0 && index < count() ? m_rows[index].name : QString();
}

void KeyList::setName(int index, const QString& name) {
    if (index < 0 || index >= count())
        return;
    m_rows[index].name = name;
    update();
}

QString KeyList::description(int index) const {
    return index >= 0 && index < count() ? m_rows[index].description : QString();
}

void KeyList::setDescription(int index, const QString& description) {
    if (index < 0 || index >= count())
        return;
    m_rows[index].description = description;
    update();
}

bool KeyList::setDescriptionOfKey(int keyValue, const QString& description) {
    bool found = false;
    for (Row& row : m_rows) {
        if (row.keyValue == keyValue) {
            row.description = description;
            found = true;
        }
    }
    update();
    return found;
}

int KeyList::keyValue(int index) const {
    return index >= 0 && index < count() ? m_rows[index].keyValue : -1;
}

int KeyList::indexOfKey(int keyValue) const {
    for (int i = 0; i < count(); ++i) {
        if (m_rows[i].keyValue == keyValue)
            return i;
    }
    return -1;
}

void KeyList::select(int index) {
    m_selected = index >= 0 && index < count() ? index : -1;
    update();
    announceCurrentItem(this, m_selected);
}

void KeyList::setRowHeight(int pixels) {
    m_rowHeight = std::max(1, pixels);
    update();
}

QRect KeyList::rowRect(int index) const {
    if (index < 0 || index >= count())
        return {};
    // Rows are sized in design pixels like the list: drawn at the list's scale, they fill
    // its height and the last one is not cut off.
    const auto top = [this](int i) { return int(std::lround(i * m_rowHeight * fontScale())); };
    return QRect(0, top(index), width(), top(index + 1) - top(index));
}

void KeyList::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setFont(font());
    draw::frame(p, rect(), skin::panelColour(), QColor(), 6);
    for (int i = 0; i < count(); ++i) {
        const QRect r = rowRect(i);
        if (i == m_selected) {
            draw::frame(p, r.adjusted(2, 2, -2, -2),
                        draw::mix(skin::panelColour(), skin::accentColour(), 0.25),
                        skin::accentColour(), 5);
        } else if (i == hoveredItem() && isEnabled()) {
            draw::frame(p, r.adjusted(2, 2, -2, -2), skin::hoverColour(), QColor(), 5);
        }
        // The name gets two fifths of the row unless both texts fit whole, or the
        // description fits whole in the rest.
        const QFontMetrics metrics(p.font());
        const int inner = r.width() - 14 - 8 - 20;
        const int nameNeed = metrics.horizontalAdvance(m_rows[i].name) + 2;
        const int descNeed = metrics.horizontalAdvance(m_rows[i].description) + 2;
        int nameWidth = inner * 2 / 5;
        if (nameNeed + descNeed <= inner)
            nameWidth = inner - descNeed;
        else if (descNeed <= inner * 3 / 5)
            nameWidth = inner - descNeed;
        const QRect nameRect(r.left() + 14, r.top(), nameWidth, r.height());
        const QRect descRect(nameRect.right() + 8, r.top(), r.right() - nameRect.right() - 20,
                             r.height());
        draw::text(p, nameRect, m_rows[i].name, Qt::AlignLeft | Qt::AlignVCenter, textColour(),
                   false);
        draw::text(p, descRect, m_rows[i].description, Qt::AlignRight | Qt::AlignVCenter,
                   i == m_selected ? skin::textColour() : skin::mutedTextColour(), false);
        if (i + 1 < count() && i != m_selected && i + 1 != m_selected)
            p.fillRect(QRect(r.left() + 12, r.bottom(), r.width() - 24, 1), skin::borderColour());
    }
}

int KeyList::itemAt(const QPoint& point) const {
    for (int i = 0; i < count(); ++i) {
        if (rowRect(i).contains(QPoint(0, point.y())))
            return i;
    }
    return -1;
}

void KeyList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return Control::mousePressEvent(event);
    const int index = itemAt(event->position().toPoint());
    if (index < 0)
        return;
    m_selected = index;
    update();
    announceCurrentItem(this, index);
    notify(Notify::Click, index, m_rows[index].keyValue);
}

void KeyList::keyPressEvent(QKeyEvent* event) {
    int index = m_selected;
    switch (event->key()) {
    case Qt::Key_Up:
        index = std::max(0, m_selected - 1);
        break;
    case Qt::Key_Down:
        index = std::min(count() - 1, m_selected + 1);
        break;
    case Qt::Key_Home:
        index = 0;
        break;
    case Qt::Key_End:
        index = count() - 1;
        break;
    default:
        return Control::keyPressEvent(event);
    }
    event->accept();
    if (index < 0 || index >= count() || index == m_selected)
        return;
    m_selected = index;
    update();
    announceCurrentItem(this, index);
    notify(Notify::Click, index, m_rows[index].keyValue);
}

} // namespace corvane::ui
