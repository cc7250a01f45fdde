#pragma once
// pages/update: the update flow of the settings pages and its offer and progress windows.
// The window's side of the updates: the offers of a newer program or firmware, the two
// progress windows, and what the settings pages show and do about updates (the status
// lines 275 and 246, the buttons 276 and 248). Everything runs on the UI thread; the
// device worker's reports arrive here through the window's WorkerHost.
//
// An offer or a button press of one kind starts nothing while that kind is already in
// hand: while its question is asked, while the setup downloads, while the firmware is
// written.

#include "protocol/worker/WorkerHost.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace corvane::pages {

class UpdateProcessDlg;
class UpdateTipDlg;

struct UpdateFlowHooks {
    // Shows a message box (pages::MessageStyle) over the main window, returns its answer.
    std::function<int(const QString& text, const QString& title, int style)> ask;
    // Queues a DeviceTask.
    std::function<void(int code)> queueTask;
    // The current device type's firmware address (empty when it has none).
    std::function<QString()> firmwareUrl;
    // The setup progress window was closed while the download ran: it stops.
    std::function<void()> cancelSetup;
};

class UpdateFlow {
public:
    UpdateFlow(QWidget* mainWindow, UpdateFlowHooks hooks);
    ~UpdateFlow();
    UpdateFlow(const UpdateFlow&) = delete;
    UpdateFlow& operator=(const UpdateFlow&) = delete;

    // --- what the worker reports ---
    void showStatus(const protocol::UpdateStatusView& status);
    // Asks whether to update; on yes queues the download (26) or the upgrade (27) and
    // opens its progress window.
    void offer(protocol::UpdateKind kind, const QString& latest);
    void showSetupProgress(int percent);
    void setupFailed();
    void showFirmwareProgress(int textId, int percent);
    void endFirmwareUpgrade(bool succeeded);

    // --- the settings pages ---
    struct StatusLine {
        QString text;
        bool buttonEnabled = true;
    };
    // The status line and button state of a kind: text 580 and enabled until a check
    // completed; then "<582>: v<version>" (program) or "<582>: V<1.05>" (firmware) with the
    // button enabled while a newer version exists, or text 580 with the button disabled.
    StatusLine statusLine(protocol::UpdateKind kind) const;
    // The last status the worker reported of a kind (for a page built later).
    std::optional<protocol::UpdateStatusView> lastStatus(protocol::UpdateKind kind) const;
    // Told after each status change (the pages show statusLine(kind) again).
    void setStatusListener(std::function<void(protocol::UpdateKind)> listener);
    // The update button (276): checks the server for a newer program.
    void pressUpdateButton();
    // The firmware button (248): checks for newer firmware, or says that the device has
    // no firmware address.
    void pressFirmwareButton();
    // The device settings page's button for a mouse left in its bootloader: queues the
    // firmware write (28) and opens the firmware progress window.
    void writeFirmwareAgain();

    // --- the window ---
    // Is a question, download or upgrade of that kind in hand?
    bool isBusy(protocol::UpdateKind kind) const;
    // From the firmware upgrade's start until it ended: the program must not end then,
    // or the mouse is left with half a firmware.
    bool isWritingFirmware() const;
    UpdateProcessDlg* setupWindow() const;
    UpdateTipDlg* firmwareWindow() const;
    void applyTexts();
    // The main window goes away: the progress windows go too.
    void closeWindows();

private:
    struct Status {
        bool reported = false;
        int state = 0;
        QString latest;
        bool buttonEnabled = true;
        int deviceType = 0;
    };
    Status& statusOf(protocol::UpdateKind kind);
    const Status& statusOf(protocol::UpdateKind kind) const;
    void openSetupWindow();
    void openFirmwareWindow();

    QWidget* m_mainWindow;
    UpdateFlowHooks m_hooks;
    Status m_program;
    Status m_firmware;
    bool m_askingProgram = false;
    bool m_askingFirmware = false;
    QPointer<UpdateProcessDlg> m_setupWindow;
    QPointer<UpdateTipDlg> m_firmwareWindow;
    std::function<void(protocol::UpdateKind)> m_listener;
};

} // namespace corvane::pages
