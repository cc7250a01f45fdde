#include "ui/views/DeviceList.h"

#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace corvane::ui {
namespace {
constexpr int kGap = 24;
} // namespace

DeviceList::DeviceList(int id, QWidget* parent) : ItemControl(id, parent) {
    setMouseTracking(true);
    setPointingCursor(true);
    setFocusPolicy(Qt::NoFocus);
}

int DeviceList::addEntry(const QString& name, int deviceType, const QString& image) {
    Entry entry;
    entry.name = name;
    entry.type = deviceType;
    entry.image = image;
    m_entries.append(entry);
    update();
    return count() - 1;
}

void DeviceList::clear() {
    m_entries.clear();
    m_selected = -1;
    clearHover();
    update();
}

QString DeviceList::entryName(int index) const {
    return index >= 0 && index < count() ? m_entries[index].name : QString();
}

int DeviceList::entryType(int index) const {
    return index >= 0 && index < count() ? m_entries[index].type : 0;
}

template <class F> void DeviceList::forType(int deviceType, F change) {
    for (Entry& e : m_entries) {
        if (e.type == deviceType)
            change(e);
    }
    update();
}

void DeviceList::markAllOffline() {
    for (Entry& e : m_entries)
        e.online = false;
    update();
}

void DeviceList::setState(int deviceType, int mode, bool online) {
    forType(deviceType, [&](Entry& e) {
        e.mode = mode;
        e.online = online;
    });
}

void DeviceList::setFirmwareVersion(int deviceType, const QString& version) {
    forType(deviceType, [&](Entry& e) { e.version = version; });
}

void DeviceList::setBattery(int deviceType, int level, bool charging) {
    forType(deviceType, [&](Entry& e) {
        e.battery = level < 0 ? -1 : std::min(level, 100);
        e.charging = charging;
    });
}

bool DeviceList::isOnline(int deviceType) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry& e) { return e.type == deviceType && e.online; });
}

int DeviceList::onlineCount() const {
    return int(
        std::count_if(m_entries.begin(), m_entries.end(), [](const Entry& e) { return e.online; }));
}

void DeviceList::setVersionCaption(const QString& caption) {
    m_versionCaption = caption;
    update();
}

bool DeviceList::select(int deviceType) {
    for (int i = 0; i < count(); ++i) {
        if (m_entries[i].type == deviceType) {
            m_selected = i;
            update();
            return true;
        }
    }
    return false;
}

int DeviceList::selectedType() const {
    return entryType(m_selected);
}

void DeviceList::clearSelection() {
    m_selected = -1;
    update();
}

void DeviceList::setCardSize(const QSize& size) {
    m_cardSize = size.expandedTo(QSize(80, 80));
    update();
}

QRect DeviceList::entryRect(int index) const {
    if (index < 0 || index >= count())
        return {};
    const int columns = std::max(1, (width() + kGap) / (m_cardSize.width() + kGap));
    const int used = std::min(columns, count());
    const int rows = (count() + columns - 1) / columns;
    const int gridWidth = used * m_cardSize.width() + (used - 1) * kGap;
    const int gridHeight = rows * m_cardSize.height() + (rows - 1) * kGap;
    const int left = std::max(0, (width() - gridWidth) / 2);
    const int top = std::max(0, (height() - gridHeight) / 2);
    const int row = index / columns;
    const int column = index % columns;
    return QRect(left + column * (m_cardSize.width() + kGap),
                 top + row * (m_cardSize.height() + kGap), m_cardSize.width(), m_cardSize.height());
}

int DeviceList::itemAt(const QPoint& point) const {
    for (int i = 0; i < count(); ++i) {
        if (entryRect(i).contains(point))
            return i;
    }
    return -1;
}

void DeviceList::paintMode(QPainter& p, const QRect& r, int mode) const {
    const QPixmap sprite = skin::image(QStringLiteral("device_mode.png"));
    if (!sprite.isNull()) {
        const int frame = sprite.width() / 2;
        const QRect source(mode == Wireless ? frame : 0, 0, frame, sprite.height());
        p.drawPixmap(r, sprite, source);
        return;
    }
    // Drawn: a plug for a cable, three arcs for the receiver.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(skin::mutedTextColour(), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF c = QRectF(r).center();
    const qreal s = r.height() / 2.0 - 1;
    if (mode == Wireless) {
        for (qreal k : {0.35, 0.7, 1.05})
            p.drawArc(QRectF(c.x() - s * k, c.y() - s * k + s * 0.5, 2 * s * k, 2 * s * k), 45 * 16,
                      90 * 16);
    } else {
        p.drawRect(QRectF(c.x() - s * 0.45, c.y() - s * 0.6, s * 0.9, s * 0.8));
        p.drawLine(QPointF(c.x(), c.y() + s * 0.2), QPointF(c.x(), c.y() + s));
        p.drawLine(QPointF(c.x() - s * 0.2, c.y() - s * 0.6), QPointF(c.x() - s * 0.2, c.y() - s));
        p.drawLine(QPointF(c.x() + s * 0.2, c.y() - s * 0.6), QPointF(c.x() + s * 0.2, c.y() - s));
    }
    p.restore();
}

void DeviceList::paintBattery(QPainter& p, const QRect& r, int level, bool charging) const {
    const QPixmap frame = skin::image(QStringLiteral("icon/icon_battery_bkg.png"));
    const QPixmap value = skin::image(QStringLiteral("icon/icon_batteryvalue.png"));
    if (!frame.isNull() && !value.isNull()) {
        p.drawPixmap(r, frame);
        const int shown = value.width() * level / 100;
        p.drawPixmap(QRect(r.left(), r.top(), r.width() * level / 100, r.height()), value,
                     QRect(0, 0, shown, value.height()));
    } else {
        const QRectF body = QRectF(r).adjusted(0.5, 0.5, -3.5, -0.5);
        draw::frame(p, body, QColor(), skin::mutedTextColour(), 2);
        p.fillRect(QRectF(body.right() + 0.5, body.center().y() - 2.5, 2.5, 5),
                   skin::mutedTextColour());
        const QColor fill = level <= 20 ? QColor(0xe0, 0x4a, 0x3f) : skin::accentColour();
        const QRectF inside = body.adjusted(2, 2, -2, -2);
        p.fillRect(
            QRectF(inside.left(), inside.top(), inside.width() * level / 100.0, inside.height()),
            fill);
    }
    if (!charging)
        return;
    const QRect bolt(r.right() + 4, r.top(), r.height(), r.height());
    if (draw::image(p, bolt, QStringLiteral("icon/icon_charge.png")))
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xc1, 0x2e));
    const QRectF b = bolt;
    p.drawPolygon(QPolygonF({QPointF(b.left() + b.width() * 0.6, b.top()),
                             QPointF(b.left() + b.width() * 0.2, b.center().y() + 1),
                             QPointF(b.center().x(), b.center().y() + 1),
                             QPointF(b.left() + b.width() * 0.4, b.bottom()),
                             QPointF(b.left() + b.width() * 0.8, b.center().y() - 1),
                             QPointF(b.center().x(), b.center().y() - 1)}));
    p.restore();
}

void DeviceList::paintEntry(QPainter& p, int index) const {
    const Entry& e = m_entries[index];
    const QRect card = entryRect(index);
    const bool selected = index == m_selected;
    QColor fill = index == hoveredItem() ? skin::hoverColour() : skin::panelColour();
    if (selected)
        fill = draw::mix(fill, skin::accentColour(), 0.15);
    draw::frame(p, card, fill, selected ? skin::accentColour() : skin::borderColour(), 10);

    const QRect picture(card.left() + 16, card.top() + 16, card.width() - 32, card.height() - 96);
    p.save();
    if (!e.online)
        p.setOpacity(0.45);
    const QPixmap image = skin::image(e.image);
    if (!image.isNull()) {
        // Fit the picture into the area, keeping its proportions.
        const qreal k = std::min(qreal(picture.width()) / image.width(),
                                 qreal(picture.height()) / image.height());
        const QSize size(qRound(image.width() * k), qRound(image.height() * k));
        const QRect target(picture.center() - QPoint(size.width() / 2, size.height() / 2), size);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(target, image);
    } else {
        draw::mouseOutline(p, picture);
    }
    p.restore();

    // Online dot in the corner.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(e.online ? QColor(0x3c, 0xc8, 0x6e) : skin::borderColour());
    p.drawEllipse(QPointF(card.right() - 16, card.top() + 16), 5, 5);
    p.restore();

    QFont nameFont = font();
    nameFont.setBold(true);
    nameFont.setPixelSize(std::max(12, font().pixelSize() + 1));
    p.setFont(nameFont);
    const QRect nameRect(card.left() + 12, picture.bottom() + 8, card.width() - 24, 26);
    draw::text(p, nameRect, e.name, Qt::AlignCenter,
               e.online ? textColour() : skin::mutedTextColour(), false);
    p.setFont(font());

    const QRect status(card.left() + 14, nameRect.bottom() + 8, card.width() - 28, 20);
    int x = status.left();
    if (e.online) {
        paintMode(p, QRect(x, status.top(), 20, 20), e.mode);
        x += 26;
    }
    QRect versionRect(x, status.top(), status.right() - x, status.height());
    if (e.online && e.battery >= 0) {
        const QRect battery(status.right() - 48, status.top() + 4, 26, 12);
        paintBattery(p, battery, e.battery, e.charging);
        versionRect.setRight(battery.left() - 6);
    }
    if (!e.version.isEmpty()) {
        const QString line = m_versionCaption.isEmpty()
                                 ? e.version
                                 : QStringLiteral("%1: %2").arg(m_versionCaption, e.version);
        draw::text(p, versionRect, line, Qt::AlignLeft | Qt::AlignVCenter, skin::mutedTextColour(),
                   false);
    }
}

void DeviceList::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setFont(font());
    for (int i = 0; i < count(); ++i)
        paintEntry(p, i);
}

void DeviceList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return Control::mousePressEvent(event);
    const int index = itemAt(event->position().toPoint());
    if (index < 0)
        return;
    m_selected = index;
    update();
    notify(Notify::Click, index, m_entries[index].type);
}

} // namespace corvane::ui
