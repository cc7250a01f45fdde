#include "ui/base/Dialog.h"

#include "ui/base/Drawing.h"
#include "ui/base/Skin.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVariant>
#include <QWindow>

#include <cmath>
#include <utility>

namespace corvane::ui {

namespace {
const char* const kDesignRect = "corvaneDesignRect";
const char* const kScaledRect = "corvaneScaledRect";

QRect scaledRect(const QRect& r, double s) {
    const int left = int(std::lround(r.x() * s));
    const int top = int(std::lround(r.y() * s));
    return QRect(QPoint(left, top), QPoint(int(std::lround((r.x() + r.width()) * s)) - 1,
                                           int(std::lround((r.y() + r.height()) * s)) - 1));
}

// Where a control with the design rectangle `design` goes on the screen: scaled, and for a
// right-to-left language mirrored inside its parent, so that every window is laid out once,
// in left-to-right design pixels. The parent has its final size by then: controls are
// placed parents first.
QRect screenRect(const QRect& design, double scale, const QWidget* control) {
    const QRect scaled = scaledRect(design, scale);
    const QWidget* parent = control->parentWidget();
    // A control made to fill its container fills it: rounded on its own, its width or
    // height could come out a pixel larger than the container's, which is rounded from
    // its own place in the window.
    const QVariant parentDesign = parent ? parent->property(kDesignRect) : QVariant();
    if (parentDesign.isValid() && design == QRect(QPoint(0, 0), parentDesign.toRect().size()))
        return parent->rect();
    if (!parent || !control->isRightToLeft())
        return scaled;
    return QRect(QPoint(parent->width() - 1 - scaled.right(), scaled.top()), scaled.size());
}
} // namespace
namespace {

const QEvent::Type kMessageEvent = QEvent::Type(QEvent::registerEventType());

struct MessageEvent : QEvent {
    MessageEvent(int m, int w, int l) : QEvent(kMessageEvent), message(m), wParam(w), lParam(l) {}
    int message;
    int wParam;
    int lParam;
};

QList<Dialog*>& createdWindows() {
    static QList<Dialog*> list;
    return list;
}

bool onUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

// The state of one modal run lives on runModal's stack, so that ending the run never
// needs the Dialog to outlive the loop.
struct Dialog::ModalRun {
    QEventLoop* loop;
    int* result;
};

Dialog::Dialog() : QWidget(nullptr) {
    m_fill = skin::windowColour();
}

Dialog::~Dialog() {
    for (QTimer* timer : std::as_const(m_timers))
        timer->stop();
    createdWindows().removeAll(this);
    finishModal();
}

bool Dialog::create(QWidget* parent, const QString& title, unsigned style, unsigned exStyle,
                    const QRect& rect) {
    if (m_created)
        return false;
    skin::ensureApplied();
    clearControls();

    const bool child = (style & StyleChild) && parent;
    if (child) {
        setParent(parent, Qt::Widget);
    } else {
        Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
        if (exStyle & ExToolWindow)
            flags |= Qt::Tool;
        if (exStyle & ExTopMost)
            flags |= Qt::WindowStaysOnTopHint;
        setParent(parent, flags);
    }
    setAttribute(Qt::WA_TranslucentBackground, !child && (exStyle & ExLayered));
    setWindowTitle(title);
    setGeometry(rect);

    m_created = true;
    m_result = ResultSecond;
    if (!child)
        createdWindows().append(this);

    m_inInitDialog = true;
    OnInitDialog();
    m_inInitDialog = false;
    if (m_created && !m_uiBuilt)
        buildUi();
    if (m_created && (style & StyleVisible))
        show();
    return m_created;
}

void Dialog::buildUi() {
    m_uiBuilt = true;
    const QRect client = designClient();
    InitUI(client);
    m_laidOutSize = size();
    UISize(client);
    scaleControls();
}

QRect Dialog::designClient() const {
    return QRect(0, 0, int(std::lround(width() / m_scale)), int(std::lround(height() / m_scale)));
}

void Dialog::setInterfaceScale(double scale) {
    if (!(scale > 0) || scale == m_scale)
        return;
    m_scale = scale;
    if (m_uiBuilt && !m_inInitDialog) {
        restoreDesignRects();
        UISize(designClient());
        scaleControls();
    }
}

void Dialog::scaleControls() {
    // A control whose rectangle is still the one this pass drew keeps its design
    // rectangle; any other rectangle was set in design pixels since.
    // Control has no meta-object of its own, so the children are sorted out by type here.
    for (QWidget* child : findChildren<QWidget*>()) {
        auto* c = dynamic_cast<Control*>(child);
        if (!c || c->owner() != this)
            continue;
        const QVariant drawn = c->property(kScaledRect);
        QRect design = c->geometry();
        if (drawn.isValid() && drawn.toRect() == design)
            design = c->property(kDesignRect).toRect();
        const QRect target = screenRect(design, m_scale, c);
        c->setProperty(kDesignRect, design);
        c->setProperty(kScaledRect, target);
        if (c->geometry() != target)
            c->setGeometry(target);
        c->setFontScale(m_scale);
    }
}

void Dialog::restoreDesignRects() {
    for (QWidget* child : findChildren<QWidget*>()) {
        auto* c = dynamic_cast<Control*>(child);
        if (!c || c->owner() != this)
            continue;
        const QVariant drawn = c->property(kScaledRect);
        if (!drawn.isValid())
            continue;
        if (drawn.toRect() == c->geometry())
            c->setGeometry(c->property(kDesignRect).toRect());
        c->setProperty(kScaledRect, QVariant());
    }
}

void Dialog::clearControls() {
    for (const QPointer<Control>& control : std::as_const(m_controls)) {
        if (control) {
            control->hide();
            control->deleteLater();
        }
    }
    m_controls.clear();
    m_uiBuilt = false;
}

void Dialog::centre() {
    QRect area;
    if (!isWindow() && parentWidget()) {
        area = parentWidget()->rect();
    } else if (QWidget* p = parentWidget() ? parentWidget()->window() : nullptr;
               p && p->isVisible()) {
        area = p->frameGeometry();
    } else if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        area = s->availableGeometry();
    }
    if (area.isValid())
        move(area.center() - rect().center());
}

int Dialog::runModal(Show show) {
    if (!m_created || m_modal)
        return 0;
    QEventLoop loop;
    int result = ResultSecond;
    ModalRun run{&loop, &result};
    m_modal = &run;
    m_result = ResultSecond;

    // Modal to its owner: a window with a parent blocks that parent's window (and its
    // siblings) while it runs; a window without one, like the main window, blocks nothing.
    // Qt applies a modality change only when the window is shown again.
    const bool topLevel = isWindow();
    if (topLevel && parentWidget()) {
        hide();
        setWindowModality(Qt::WindowModal);
    }
    switch (show) {
    case Show::Hide:
        hide();
        break;
    case Show::Normal:
        showNormal();
        break;
    case Show::Minimised:
        showMinimized();
        break;
    case Show::Maximised:
        showMaximized();
        break;
    }

    QPointer<Dialog> self(this);
    loop.exec(QEventLoop::DialogExec);
    if (self) {
        // The loop also ends when the application quits; the window goes with it.
        if (m_modal == &run)
            DestroyWindow();
        if (m_modal == &run)
            finishModal();
        if (topLevel)
            setWindowModality(Qt::NonModal);
    }
    return result;
}

void Dialog::endModal(int result) {
    m_result = result;
    DestroyWindow();
}

void Dialog::finishModal() {
    if (!m_modal)
        return;
    ModalRun* run = m_modal;
    m_modal = nullptr;
    *run->result = m_result;
    run->loop->quit();
}

void Dialog::postMessage(int message, int wParam, int lParam) {
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::postEvent(this, new MessageEvent(message, wParam, lParam));
}

int Dialog::sendMessage(int message, int wParam, int lParam) {
    if (!onUiThread()) {
        postMessage(message, wParam, lParam);
        return 0;
    }
    return m_created ? OnWindowMessage(message, wParam, lParam) : 0;
}

bool Dialog::setTimer(int timerId, int intervalMs) {
    if (!m_created || intervalMs < 0)
        return false;
    QTimer*& timer = m_timers[timerId];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, timerId] {
            if (m_created)
                OnTimer(timerId);
        });
    }
    timer->start(intervalMs);
    return true;
}

void Dialog::stopTimer(int timerId) {
    if (QTimer* timer = m_timers.value(timerId))
        timer->stop();
}

bool Dialog::isTimerRunning(int timerId) const {
    const QTimer* timer = m_timers.value(timerId);
    return timer && timer->isActive();
}

void Dialog::setBackgroundImage(const QString& name) {
    m_backgroundImage = name;
    update();
}

void Dialog::setBackgroundColours(const QColor& fill, const QColor& border) {
    m_fill = fill.isValid() ? fill : skin::windowColour();
    m_border = border;
    update();
}

bool Dialog::idAvailable(int id) const {
    return id <= 0 || !m_controls.value(id);
}

void Dialog::placeControl(Control* control, const QRect& rect) {
    if (control->id() > 0)
        m_controls.insert(control->id(), control);
    if (m_scale != 1.0 || control->isRightToLeft()) {
        const QRect target = screenRect(rect, m_scale, control);
        control->setProperty(kDesignRect, rect);
        control->setProperty(kScaledRect, target);
        control->setGeometry(target);
    } else {
        control->setGeometry(rect);
    }
    control->setVisible(true);
}

Control* Dialog::control(int id) const {
    return m_controls.value(id).data();
}

QList<Dialog*> Dialog::windows() {
    return createdWindows();
}

void Dialog::deliverNotification(int controlId, int code, int p1, int p2) {
    if (m_created)
        OnMessage(controlId, code, p1, p2);
}

int Dialog::OnWindowMessage(int message, int wParam, int /*lParam*/) {
    if (message == Message::Close) {
        if (m_modal)
            endModal(wParam != 0 ? wParam : ResultSecond);
        else
            DestroyWindow();
    }
    return 0;
}

bool Dialog::OnInitDialog() {
    if (!m_uiBuilt)
        buildUi();
    return true;
}

void Dialog::InitUI(const QRect& /*client*/) {}
void Dialog::UISize(const QRect& /*client*/) {}
int Dialog::OnMessage(int /*controlId*/, int /*code*/, int /*param1*/, int /*param2*/) {
    return 0;
}
int Dialog::OnNcActivate(bool /*active*/) {
    return 1;
}
void Dialog::OnTimer(int /*timerId*/) {}

void Dialog::DestroyWindow() {
    if (!m_created)
        return;
    m_created = false;
    for (QTimer* timer : std::as_const(m_timers))
        timer->stop();
    m_dragging = false;
    hide();
    createdWindows().removeAll(this);
    finishModal();
}

bool Dialog::event(QEvent* event) {
    if (event->type() == kMessageEvent) {
        const auto* m = static_cast<MessageEvent*>(event);
        if (m_created)
            OnWindowMessage(m->message, m->wParam, m->lParam);
        return true;
    }
    return QWidget::event(event);
}

void Dialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    if (draw::image(p, rect(), m_backgroundImage))
        return;
    if (testAttribute(Qt::WA_TranslucentBackground))
        draw::frame(p, rect(), m_fill, m_border.isValid() ? m_border : skin::borderColour(), 10);
    else
        draw::frame(p, rect(), m_fill, m_border, 0);
}

void Dialog::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A hidden window receives its pending resize when first shown; lay out only when
    // the size really changed.
    if (m_uiBuilt && !m_inInitDialog && size() != m_laidOutSize) {
        m_laidOutSize = size();
        restoreDesignRects();
        UISize(designClient());
        scaleControls();
    }
}

void Dialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && m_created)
        OnNcActivate(isActiveWindow());
    // The language changed the reading direction: every control goes to its mirrored place.
    if (event->type() == QEvent::LayoutDirectionChange && m_uiBuilt && !m_inInitDialog)
        scaleControls();
    QWidget::changeEvent(event);
}

void Dialog::closeEvent(QCloseEvent* event) {
    // The window manager's close (or Alt+F4) becomes Message::Close, so a window decides
    // itself whether it ends, hides or ignores it.
    event->ignore();
    if (m_created)
        OnWindowMessage(Message::Close, 0, 0);
}

void Dialog::mousePressEvent(QMouseEvent* event) {
    if (isWindow() && event->button() == Qt::LeftButton &&
        event->position().y() < m_captionHeight * m_scale) {
        if (windowHandle() && windowHandle()->startSystemMove())
            return;
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Dialog::mouseDoubleClickEvent(QMouseEvent* event) {
    if (isWindow() && m_captionMaximises && event->button() == Qt::LeftButton &&
        event->position().y() < m_captionHeight * m_scale) {
        m_dragging = false;
        if (isMaximized())
            showNormal();
        else
            showMaximized();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void Dialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void Dialog::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

} // namespace corvane::ui
