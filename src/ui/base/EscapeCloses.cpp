#include "ui/base/EscapeCloses.h"

#include <QKeyEvent>
#include <QWidget>

namespace corvane::ui {

EscapeCloses::EscapeCloses(QWidget* panel, std::function<bool()> close)
    : QObject(panel), m_close(std::move(close)) {}

void EscapeCloses::install(QWidget* panel, std::function<bool()> close) {
    panel->installEventFilter(new EscapeCloses(panel, std::move(close)));
}

bool EscapeCloses::eventFilter(QObject* watched, QEvent* event) {
    // A key a child did not take comes up to the panel as the same event.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && m_close()) {
            key->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace corvane::ui
