#include "pages/macros/KeyboardGrab.h"

#include <QGuiApplication>

#include <chrono>

namespace corvane::pages {

KeyboardGrab::~KeyboardGrab() {
    release();
}

void KeyboardGrab::setClock(Clock clock) {
    m_clock = std::move(clock);
}

qint64 KeyboardGrab::now() const {
    if (m_clock)
        return m_clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void KeyboardGrab::checkIdle() {
    if (!m_window)
        return;
    const qint64 left = m_lastActivity + m_idleLimitMs - now();
    if (left > 0) {
        m_idle.start(static_cast<int>(left));
        return;
    }
    loseGrab();
}

void KeyboardGrab::hold(QWidget* window, std::function<void()> lost, int idleLimitMs) {
    release();
    if (!window)
        return;
    m_idle.setSingleShot(true);
    QObject::connect(&m_idle, &QTimer::timeout, this, &KeyboardGrab::checkIdle,
                     Qt::UniqueConnection);
    m_idleLimitMs = idleLimitMs;
    m_window = window->window();
    m_lost = std::move(lost);
    m_window->installEventFilter(this);
    m_window->grabKeyboard();
    noteActivity();
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        m_stateWatch = QObject::connect(app, &QGuiApplication::applicationStateChanged, this,
                                        [this](Qt::ApplicationState state) {
                                            if (state != Qt::ApplicationActive)
                                                loseGrab();
                                        });
    }
}

void KeyboardGrab::noteActivity() {
    if (!m_window)
        return;
    m_lastActivity = now();
    m_idle.start(m_idleLimitMs);
}

void KeyboardGrab::release() {
    m_idle.stop();
    QObject::disconnect(m_stateWatch);
    if (m_window) {
        m_window->removeEventFilter(this);
        m_window->releaseKeyboard();
    }
    m_window = nullptr;
    m_lost = nullptr;
}

bool KeyboardGrab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::WindowDeactivate)
        loseGrab();
    return false;
}

void KeyboardGrab::loseGrab() {
    if (!m_window)
        return;
    // Released before the owner hears of it: the owner may show a box or start again.
    std::function<void()> lost = std::move(m_lost);
    release();
    if (lost)
        lost();
}

} // namespace corvane::pages
