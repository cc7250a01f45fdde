#include "ui/base/Control.h"

#include "ui/base/Dialog.h"
#include "ui/base/Settings.h"
#include "ui/base/Skin.h"

#include <QFocusEvent>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace corvane::ui {

namespace {
// The smallest text the interface scale may draw, in pixels.
constexpr int kSmallestPixelSize = 8;
} // namespace

Control::Control(int id, QWidget* parent) : QWidget(parent), m_id(id) {
    if (Dialog* dialog = owner())
        m_fontScale = dialog->interfaceScale();
    setTextFont({}, 14);
    watchFocus(this);
}

Dialog* Control::owner() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* dialog = dynamic_cast<Dialog*>(w))
            return dialog;
    }
    return nullptr;
}

void Control::setText(const QString& text) {
    if (m_text == text)
        return;
    m_text = text;
    update();
}

void Control::setAccessibleText(const QString& name) {
    setAccessibleName(name);
    nameHosted();
}

void Control::nameHosted() {
    if (m_hosted)
        m_hosted->setAccessibleName(accessibleName().isEmpty() ? toolTip() : accessibleName());
}

bool Control::event(QEvent* event) {
    if (event->type() == QEvent::ToolTipChange)
        nameHosted();
    return QWidget::event(event);
}

void Control::setTextFont(const QString& family, int pixelSize, int style) {
    QFont f = font();
    const QString name = family.isEmpty() ? defaultFontName() : family;
    if (!name.isEmpty())
        f.setFamily(name);
    if (pixelSize > 0) {
        m_designPixelSize = pixelSize;
        f.setPixelSize(std::max(std::min(pixelSize, kSmallestPixelSize),
                                int(std::lround(pixelSize * m_fontScale))));
    }
    f.setBold(style & FontBold);
    f.setItalic(style & FontItalic);
    f.setUnderline(style & FontUnderline);
    setFont(f);
}

void Control::setFontScale(double scale) {
    if (scale == m_fontScale)
        return;
    m_fontScale = scale;
    if (m_designPixelSize > 0) {
        const QFont f = font();
        int style = FontNormal;
        style |= f.bold() ? FontBold : 0;
        style |= f.italic() ? FontItalic : 0;
        style |= f.underline() ? FontUnderline : 0;
        setTextFont(f.family(), m_designPixelSize, style);
    }
}

void Control::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

void Control::setTextColour(const QColor& colour) {
    m_textColour = colour;
    applyHostedColour();
    update();
}

void Control::host(QWidget* inner) {
    m_hosted = inner;
    inner->setGeometry(rect());
    setFocusPolicy(inner->focusPolicy());
    setFocusProxy(inner);
    watchFocus(inner);
    applyHostedColour();
    nameHosted();
}

void Control::applyHostedColour() {
    if (!m_hosted)
        return;
    QPalette palette = m_hosted->palette();
    const QColor colour = m_textColour.isValid() ? m_textColour : skin::textColour();
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, colour);
        palette.setColor(QPalette::Inactive, role, colour);
    }
    m_hosted->setPalette(palette);
}

void Control::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_hosted)
        m_hosted->setGeometry(rect());
}

QColor Control::textColour() const {
    if (!isEnabled())
        return skin::disabledTextColour();
    return m_textColour.isValid() ? m_textColour : skin::textColour();
}

void Control::notify(int code, int p1, int p2) {
    Dialog* dialog = owner();
    if (!dialog || m_notifying)
        return;
    m_notifying = true;
    QPointer<Control> self(this);
    dialog->deliverNotification(m_id, code, p1, p2);
    if (self)
        m_notifying = false;
}

void Control::watchFocus(QWidget* w) {
    if (w)
        w->installEventFilter(this);
}

bool Control::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        auto* focus = static_cast<QFocusEvent*>(event);
        if (focus->reason() != Qt::PopupFocusReason)
            notify(type == QEvent::FocusIn ? Notify::FocusGained : Notify::FocusLost);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace corvane::ui
