#pragma once
// What the two update progress windows share: a bar kept within 0..100, and a close
// button that appears only after a failure. While the work runs the window cannot be
// closed, unless the work can be cancelled (setCancel): then closing it cancels the work.
// After a failure its close button, Escape and the desktop's close all close it.

#include "ui/base/Dialog.h"

#include <functional>

namespace corvane::pages {

class ProgressWindow : public ui::Dialog {
public:
    int progress() const { return m_percent; }
    bool hasFailed() const { return m_failed; }
    // The texts again in the language in use.
    virtual void applyTexts() = 0;
    // Closing the window while the work runs calls `cancel` (and the close button shows
    // from the start).
    void setCancel(std::function<void()> cancel);

    int OnWindowMessage(int message, int wParam, int lParam) override;

protected:
    explicit ProgressWindow(int closeId) : m_closeId(closeId) {}

    // Adds the close button, hidden until a failure.
    void addCloseButton();
    // Starts again at 0 % with no failure (InitUI).
    void resetProgress();
    // Keeps `percent` within 0..100; false, and nothing kept, once the work failed.
    bool takeProgress(int percent);
    // The work failed: the close button shows. The caller applies its texts.
    void markFailed();

    int OnMessage(int controlId, int code, int param1, int param2) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool canClose() const { return m_failed || m_cancel; }
    // Closes the window, cancelling the work when it still runs.
    void closeWindow();

    const int m_closeId;
    int m_percent = 0;
    bool m_failed = false;
    std::function<void()> m_cancel;
};

} // namespace corvane::pages
