#include "ui/access/FocusRing.h"

#include "ui/base/Control.h"
#include "ui/base/Skin.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace corvane::ui {

namespace {

constexpr int kRingWidth = 2;
constexpr double kMinimumContrast = 3.0;

double luminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

class Ring : public QWidget {
public:
    Ring() {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setObjectName(QStringLiteral("focusRing"));
        hide();
    }

    // Surrounds `target` (a control or the stock widget inside one), or hides.
    void follow(QWidget* target) {
        if (m_control)
            m_control->removeEventFilter(this);
        m_target = target;
        QWidget* control = target;
        // The control a stock widget belongs to gets the ring, around its whole frame.
        for (QWidget* w = target; w; w = w->parentWidget()) {
            if (dynamic_cast<Control*>(w)) {
                control = w;
                break;
            }
        }
        QWidget* host = control ? control->window() : nullptr;
        if (!control || !host || control == host || !control->isVisible()) {
            hide();
            return;
        }
        m_control = control;
        control->installEventFilter(this);
        if (parentWidget() != host)
            setParent(host);
        const QRect r(control->mapTo(host, QPoint(0, 0)), control->size());
        setGeometry(r.adjusted(-kRingWidth - 1, -kRingWidth - 1, kRingWidth + 1, kRingWidth + 1)
                        .intersected(host->rect()));
        m_inner = QRect(mapFrom(host, r.topLeft()), r.size());
        raise();
        show();
        update();
    }

protected:
    // The ring moves, grows and hides with its control (a page laid out anew, hidden).
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (watched == m_control &&
            (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Hide))
            QMetaObject::invokeMethod(
                this, [this] { follow(m_target); }, Qt::QueuedConnection);
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(focusRingColour(), kRingWidth));
        p.setBrush(Qt::NoBrush);
        const double half = kRingWidth / 2.0;
        p.drawRoundedRect(QRectF(m_inner).adjusted(-half - 1, -half - 1, half + 1, half + 1), 3, 3);
    }

private:
    QPointer<QWidget> m_target;
    QPointer<QWidget> m_control;
    QRect m_inner;
};

QPointer<Ring>& ring() {
    static QPointer<Ring> instance;
    return instance;
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor focusRingColour() {
    const QColor backgrounds[] = {skin::windowColour(), skin::panelColour(), skin::faceColour(),
                                  skin::hoverColour()};
    for (const QColor& candidate : {skin::accentColour(), skin::textColour(), QColor(Qt::white)}) {
        if (std::all_of(std::begin(backgrounds), std::end(backgrounds), [&](const QColor& b) {
                return contrastRatio(candidate, b) >= kMinimumContrast;
            }))
            return candidate;
    }
    return Qt::white;
}

void installFocusRing() {
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
        // The ring lives in the window of the focused control and goes with that window;
        // the next focus change makes a new one.
        if (!ring()) {
            if (!now)
                return;
            ring() = new Ring;
        }
        ring()->follow(now);
    });
    // A ring not (or no longer) inside a window ends with the application.
    QObject::connect(qApp, &QObject::destroyed, [] { delete ring().data(); });
}

} // namespace corvane::ui
