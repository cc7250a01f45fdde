#pragma once
// The saving wait window: a small window with a running progress bar and "Saving
// settings", shown for two seconds after a change was queued for the mouse. Every start
// restarts the two seconds. It never takes the focus from the window the user works in.

#include "ui/base/Dialog.h"

#include <QElapsedTimer>
#include <QPointer>

namespace corvane::pages {

// The window title of the saving wait window.
inline constexpr const char* kSaveWaitTitle = "SaveWaitDlg";

class SaveWaitDlg : public ui::Dialog {
public:
    static constexpr int kHideTimerId = 200;
    static constexpr int kProgressTimerId = 201;
    static constexpr int kDefaultDurationMs = 2000;
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 200;
    // Control ids.
    static constexpr int kLogoId = 1;
    static constexpr int kTextId = 2;
    static constexpr int kProgressId = 3;

    explicit SaveWaitDlg(int durationMs = kDefaultDurationMs);

    // Creates the window, hidden, owned by mainWindow's window and centred over it.
    bool createOver(QWidget* mainWindow);

    // Shows the window (centred over its owner when it was hidden) with the progress bar
    // running from 0, and hides it durationMs() after the latest call. Nothing happens
    // before the window was created.
    void startSaveWait();
    // Hides the window at once (the main window closing its pop-ups).
    void stopSaveWait();

    int durationMs() const { return m_durationMs; }
    // The progress bar's position, 0..100.
    int progress() const;

protected:
    void InitUI(const QRect& client) override;
    void UISize(const QRect& client) override;
    void OnTimer(int timerId) override;

private:
    int m_durationMs;
    QElapsedTimer m_clock;
};

// The main window's saving wait window: made on first use, kept for later calls.
class SaveWait {
public:
    explicit SaveWait(int durationMs = SaveWaitDlg::kDefaultDurationMs);
    ~SaveWait();
    SaveWait(const SaveWait&) = delete;
    SaveWait& operator=(const SaveWait&) = delete;

    // The main window's showSaveWait after a page queued work for the mouse: nothing when
    // the device's showSaveTips flag is off; otherwise creates the window over mainWindow
    // on first use and starts it. True when the window was started.
    bool show(QWidget* mainWindow, bool showSaveTips);
    // Hides the window if it exists.
    void hide();
    // The window, null until first shown (or after its owner destroyed it).
    SaveWaitDlg* window() const { return m_window.data(); }

private:
    int m_durationMs;
    QPointer<SaveWaitDlg> m_window;
};

} // namespace corvane::pages
