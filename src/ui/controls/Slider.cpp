#include "ui/controls/Slider.h"

#include <QMouseEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QSlider>

namespace corvane::ui {
namespace {

// Lets a left click on the groove jump straight to that position.
class JumpStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

} // namespace

// Knows whether the mouse button is held on it, so that every change made while it is
// held (the jump of a groove click included) counts as moving, and the release ends it.
class Slider::Inner : public QSlider {
public:
    explicit Inner(Slider* owner) : QSlider(Qt::Horizontal, owner), m_owner(owner) {}
    bool pressing = false;
    bool moved = false;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        pressing = true;
        moved = false;
        QSlider::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QSlider::mouseReleaseEvent(event);
        if (!pressing || isSliderDown())
            return;
        pressing = false;
        if (moved)
            m_owner->notify(Notify::Click, value());
    }

private:
    Slider* m_owner;
};

Slider::Slider(int id, QWidget* parent) : Control(id, parent), m_slider(new Inner(this)) {
    auto* style = new JumpStyle;
    style->setParent(this);
    m_slider->setStyle(style);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    host(m_slider);
    // Changes made in code run under a QSignalBlocker; what arrives here is the user's.
    QObject::connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        const bool held = m_slider->pressing || m_slider->isSliderDown();
        if (held)
            m_slider->moved = true;
        QPointer<Slider> self(this);
        notify(Notify::Moving, value);
        if (!held && self) // the Moving handler may have removed the slider
            notify(Notify::Click, value);
    });
}

void Slider::setRange(int minimum, int maximum) {
    const QSignalBlocker block(m_slider);
    m_slider->setRange(minimum, maximum);
}

void Slider::setPosition(int position) {
    const QSignalBlocker block(m_slider);
    m_slider->setValue(position);
}

int Slider::position() const {
    return m_slider->value();
}
int Slider::minimum() const {
    return m_slider->minimum();
}
int Slider::maximum() const {
    return m_slider->maximum();
}

void Slider::setVertical(bool vertical) {
    m_slider->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
}

} // namespace corvane::ui
