#include "pages/keys/KeyCapture.h"

#include "pages/keys/KeyDecoding.h"
#include "pages/keys/KeyTables.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace corvane::pages {

KeyCapture::KeyCapture(QObject* parent) : QObject(parent) {}

KeyCapture::~KeyCapture() {
    stopCapture();
}

quint64 KeyCapture::startCapture(int mode) {
    stopCapture();
    m_token = ++m_lastToken;
    m_mode = mode;
    if (QCoreApplication* app = QCoreApplication::instance()) {
        // Installed last, the filter runs before the application's other filters.
        app->installEventFilter(this);
        m_filterInstalled = true;
    }
    return m_token;
}

void KeyCapture::stopCapture() {
    m_token = 0;
    if (m_filterInstalled) {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->removeEventFilter(this);
        m_filterInstalled = false;
    }
}

void KeyCapture::setConsumer(int mode, Consumer consumer) {
    m_consumers[mode] = std::move(consumer);
}

void KeyCapture::clearLastKey() {
    m_lastVirtualKey = 0;
    m_lastKeyName.clear();
}

bool KeyCapture::leavesField(const QKeyEvent& key) const {
    if (m_mode != CaptureMode::KeyboardPanel && m_mode != CaptureMode::MacroKeyField)
        return false;
    if (m_lastVirtualKey == 0 || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    return key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
}

bool KeyCapture::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (m_token == 0)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        // Once a field holds a key, Tab and Shift+Tab move on as everywhere else.
        if (leavesField(*static_cast<QKeyEvent*>(event)))
            return false;
        break;
    default:
        break;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        takeKey(*static_cast<QKeyEvent*>(event));
        event->accept();
        return true;
    case QEvent::ShortcutOverride:
        // Accepting the override keeps shortcuts from firing; the key press follows and is
        // taken above.
        event->accept();
        return true;
    case QEvent::InputMethod:
        // Text composed by an input method is not typed into the focused control either.
        return true;
    default:
        return false;
    }
}

void KeyCapture::takeKey(const QKeyEvent& key) {
    // A held key repeats as further presses (and, on X11, releases): one press and one
    // release are what the user did.
    if (key.isAutoRepeat())
        return;
    deliver(decodeKey(key.key(), key.nativeScanCode(), key.modifiers().testFlag(Qt::KeypadModifier),
                      key.type() == QEvent::KeyRelease, key.text()));
}

void KeyCapture::deliver(const InputEvent& event) {
    if (m_token == 0 || event.name.isEmpty())
        return;
    const int vk = event.virtualKey;
    switch (m_mode) {
    case CaptureMode::MacroRecording:
        break;
    case CaptureMode::KeyboardPanel:
        // Shift, Ctrl and Alt are chosen with the panel's toggles, not captured.
        if (event.kind != InputKind::Keyboard ||
            (vk >= keys::Vk::LeftShift && vk <= keys::Vk::RightAlt))
            return;
        m_lastVirtualKey = vk;
        m_lastKeyName = event.name;
        break;
    case CaptureMode::MacroKeyField:
        if (event.kind != InputKind::Keyboard)
            return;
        m_lastVirtualKey = vk;
        m_lastKeyName = event.name;
        break;
    default:
        return;
    }
    const auto it = m_consumers.find(m_mode);
    if (it == m_consumers.end() || !it->second)
        return;
    // A copy: the consumer may replace itself while it runs.
    const Consumer consumer = it->second;
    consumer(event);
}

} // namespace corvane::pages
