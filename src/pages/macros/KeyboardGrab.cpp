#include "pages/macros/KeyboardGrab.h"

#include <QGuiApplication>

namespace corvane::pages {

KeyboardGrab::~KeyboardGrab() {
    release();
}

void KeyboardGrab::hold(QWidget* window, std::function<void()> lost, int idleLimitMs) {
    release();
    if (!window)
        return;
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleLimitMs);
    QObject::connect(&m_idle, &QTimer::timeout, this, &KeyboardGrab::loseGrab,
                     Qt::UniqueConnection);
    m_idle.start();
    m_window = window->window();
    m_lost = std::move(lost);
    m_window->installEventFilter(this);
    m_window->grabKeyboard();
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        m_stateWatch = QObject::connect(app, &QGuiApplication::applicationStateChanged, this,
                                        [this](Qt::ApplicationState state) {
                                            if (state != Qt::ApplicationActive)
                                                loseGrab();
                                        });
    }
}

void KeyboardGrab::noteActivity() {
    if (m_window)
        m_idle.start();
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
