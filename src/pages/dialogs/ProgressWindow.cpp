#include "pages/dialogs/ProgressWindow.h"

#include "ui/controls/PushButton.h"

#include <QKeyEvent>

#include <algorithm>

namespace corvane::pages {

void ProgressWindow::addCloseButton() {
    auto* close = add<ui::PushButton>(m_closeId, {});
    close->setGlyph(ui::Glyph::Close);
    close->hide();
}

void ProgressWindow::resetProgress() {
    m_percent = 0;
    m_failed = false;
}

bool ProgressWindow::takeProgress(int percent) {
    if (m_failed)
        return false;
    m_percent = std::clamp(percent, 0, 100);
    return true;
}

void ProgressWindow::setCancel(std::function<void()> cancel) {
    m_cancel = std::move(cancel);
    if (auto* close = control(m_closeId))
        close->setVisible(canClose());
}

void ProgressWindow::closeWindow() {
    if (!m_failed && m_cancel)
        m_cancel();
    DestroyWindow();
}

void ProgressWindow::markFailed() {
    m_failed = true;
    if (auto* close = control(m_closeId))
        close->show();
}

int ProgressWindow::OnMessage(int controlId, int code, int /*param1*/, int /*param2*/) {
    if (controlId == m_closeId && code == ui::Notify::Click)
        closeWindow();
    return 0;
}

// While work that cannot be cancelled runs the window stays: closing it would leave the
// upgrade going on with nobody watching it.
int ProgressWindow::OnWindowMessage(int message, int wParam, int lParam) {
    if (message == ui::Message::Close) {
        if (canClose())
            closeWindow();
        return 0;
    }
    return ui::Dialog::OnWindowMessage(message, wParam, lParam);
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && canClose()) {
        closeWindow();
        return;
    }
    ui::Dialog::keyPressEvent(event);
}

} // namespace corvane::pages
