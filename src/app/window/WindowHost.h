#pragma once

#include "app/start/UserValues.h"

#include "protocol/worker/WorkerHost.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace corvane::app {

class ProgramLauncher;

// The device worker's way to the main window. Called on the worker thread; each call
// that changes what the user sees is handed to the UI thread with ui::post, in the
// order of the calls, and is never waited for. There it runs on `uiSide` while
// `lifetime` (the window) still exists. The worker's questions are answered here, on
// its own thread, from data: the profile word from the language file and the stored
// "DeviceType" from the per-user values (which must be safe to share).
class WindowHost final : public protocol::WorkerHost {
public:
    WindowHost(protocol::WorkerHost& uiSide, QObject* lifetime, UserValues& values);

    QString profileWord() override;
    int storedDeviceType() override;
    void storeDeviceType(int deviceType) override;

    void showDeviceState(const protocol::DeviceStateView& view) override;
    void showDeviceDetails(int deviceType, const catalog::DeviceDetails& details) override;
    void closePopups() override;
    void refreshPages(unsigned pages) override;
    void showProfileName(const QString& title) override;
    void showVersion(const protocol::VersionView& version) override;
    void showReceiverVersion(const QString& versionText) override;
    void showBattery(int deviceType, int level, int status) override;
    void showConnectionText(int textId) override;
    void setDeviceState(int deviceType, int mode, int onlineState) override;
    void showNoDeviceView() override;
    void showConfigurationPages() override;
    void macroRecorderUnlinked() override;
    void showStageCount(int count) override;
    void showActiveStage(int stage, int dpi, bool showPopup) override;
    void showDpiStages(const protocol::DpiStagesView& stages) override;

    void showUpdateStatus(const protocol::UpdateStatusView& status) override;
    void offerUpdate(protocol::UpdateKind kind, const QString& latest) override;
    void showSetupProgress(int percent) override;
    void setupFailed() override;
    // Starts the setup with the launcher (on the worker thread); once it started,
    // `endProgram` runs on the UI thread.
    bool startSetup(const QString& program) override;
    void showFirmwareProgress(int textId, int percent) override;
    void endFirmwareUpgrade(bool succeeded) override;

    // Who starts the downloaded setup and how the program then ends. Set before the
    // worker starts.
    void setSetupStarter(ProgramLauncher* launcher, std::function<void()> endProgram);

private:
    // Queues f(uiSide) for the UI thread.
    template <typename F> void toUi(F&& f);

    protocol::WorkerHost& uiSide;
    QPointer<QObject> lifetime;
    UserValues& values;
    ProgramLauncher* launcher = nullptr;
    std::function<void()> endProgram;
};

} // namespace corvane::app
