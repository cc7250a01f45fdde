#include "ui/controls/PushButton.h"

#include "ui/base/Announce.h"
#include "ui/base/Skin.h"

#include <QPainter>

namespace corvane::ui {

PushButton::PushButton(int id, QWidget* parent) : ButtonBase(id, parent) {
    setAlignment(Qt::AlignCenter);
}

void PushButton::setImages(const QString& normal, const QString& hover, const QString& pressed,
                           const QString& disabled) {
    m_normal = normal;
    m_hover = hover;
    m_pressed = pressed;
    m_disabled = disabled;
    update();
}

void PushButton::setGlyph(Glyph glyph) {
    m_glyph = glyph;
    update();
}

void PushButton::setLinkStyle(bool on) {
    m_link = on;
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void PushButton::setCheckable(bool on) {
    m_checkable = on;
    if (!on)
        m_checked = false;
    update();
}

void PushButton::setChecked(bool on) {
    if (!m_checkable || m_checked == on)
        return;
    m_checked = on;
    update();
    announceChecked(this);
}

void PushButton::clicked() {
    if (m_checkable) {
        m_checked = !m_checked;
        update();
        announceChecked(this);
    }
    notify(Notify::Click, m_checked ? 1 : 0);
}

QString PushButton::stateImage() const {
    auto usable = [](const QString& name) { return !skin::image(name).isNull(); };
    QString chosen;
    if (!isEnabled())
        chosen = m_disabled;
    else if (isDown() || m_checked)
        chosen = m_pressed;
    else if (isHovered())
        chosen = m_hover;
    return usable(chosen) ? chosen : m_normal;
}

void PushButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const QRect r = rect();
    const QString title = Control::text();
    // An arrow points the other way in a right-to-left window, drawn or from the skin.
    const bool mirror = isRightToLeft() && draw::pointsAlongReading(m_glyph);
    const bool imageShown = !m_link && draw::image(p, r, stateImage(), mirror);
    QColor ink = textColour();

    if (m_link) {
        if (isEnabled() && !hasTextColour())
            ink = skin::accentColour();
        QFont f = font();
        f.setUnderline(f.underline() || isHovered());
        p.setFont(f);
    } else if (!imageShown) {
        QColor fill = skin::faceColour();
        QColor border = skin::borderColour();
        if (!isEnabled())
            fill = skin::panelColour();
        else if (isDown())
            fill = skin::pressedColour();
        else if (isHovered())
            fill = skin::hoverColour();
        if (m_checked) {
            border = skin::accentColour();
            if (isEnabled() && !isDown())
                fill = draw::mix(fill, skin::accentColour(), 0.35);
        }
        // Glyph-only buttons (system buttons) stay flat until the mouse is over them.
        if (m_glyph != Glyph::None && title.isEmpty() && !isHovered() && !isDown() && !m_checked) {
            fill = Qt::transparent;
            border = QColor();
        }
        draw::frame(p, r, fill, border, std::min(6, r.height() / 3));
        if (hasFocus())
            draw::frame(p, r.adjusted(2, 2, -2, -2), QColor(), skin::accentColour(), 4);
    }

    QRect textRect = r.adjusted(6, 0, -6, 0);
    if (!imageShown && m_glyph != Glyph::None) {
        QRect g = r;
        if (!title.isEmpty()) {
            // The glyph stands before the text in the reading direction.
            g.setWidth(r.height());
            textRect.setLeft(r.height());
            if (isRightToLeft()) {
                g.moveRight(r.right());
                textRect = r.adjusted(6, 0, -r.height(), 0);
            }
        }
        draw::glyph(p, g, mirror ? draw::mirrored(m_glyph) : m_glyph, ink);
    }
    draw::text(p, textRect, title, alignment(), ink, false);
}

} // namespace corvane::ui
