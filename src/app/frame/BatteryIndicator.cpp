#include "app/frame/BatteryIndicator.h"

#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QPainter>

#include <algorithm>

namespace corvane::app {

namespace {
constexpr int kChargingStatus = 1;
}

BatteryIndicator::BatteryIndicator(int id, QWidget* parent) : ui::PassiveControl(id, parent) {}

void BatteryIndicator::setBattery(int level, int status) {
    m_level = std::clamp(level, 0, 100);
    m_charging = status == kChargingStatus;
    update();
}

void BatteryIndicator::paintEvent(QPaintEvent* /*event*/) {
    if (!hasLevel())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int h = std::min(height(), 16);
    const QRect body(0, (height() - h) / 2, std::min(width() / 2, 30), h);
    const QRect inner = body.adjusted(2, 2, -2, -2);
    const QRect filled(inner.left(), inner.top(), inner.width() * m_level / 100, inner.height());

    if (!ui::draw::image(p, body, QStringLiteral("icon/icon_battery_bkg.png"))) {
        p.setPen(QPen(ui::skin::mutedTextColour(), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(body).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        p.fillRect(QRect(body.right() + 1, body.center().y() - 2, 2, 5),
                   ui::skin::mutedTextColour());
    }
    p.save();
    p.setClipRect(filled);
    if (!ui::draw::image(p, inner, QStringLiteral("icon/icon_batteryvalue.png"))) {
        const QColor level = m_level <= 20 ? QColor(0xe0, 0x4f, 0x4f) : ui::skin::accentColour();
        p.fillRect(filled, level);
    }
    p.restore();
    if (m_charging && !ui::draw::image(p, body, QStringLiteral("icon/icon_charge.png")))
        ui::draw::text(p, body, QStringLiteral("\u26A1"), Qt::AlignCenter, ui::skin::textColour(),
                       false);

    p.setFont(font());
    const QRect label(body.right() + 6, 0, width() - body.right() - 6, height());
    ui::draw::text(p, label, QStringLiteral("%1%").arg(m_level), Qt::AlignLeft | Qt::AlignVCenter,
                   textColour(), false);
}

} // namespace corvane::app
