#pragma once
// The main window's side of the device worker's reports: the WorkerHost whose calls
// WindowHost hands to the UI thread. Internal to the main window.

#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"
#include "pages/update/UpdateFlow.h"
#include "ui/views/DeviceList.h"

namespace corvane::app {

class DeviceMainDlg::UiSide final : public protocol::WorkerHost {
public:
    explicit UiSide(DeviceMainDlg& window) : w(window) {}

    // Answered by WindowHost on the worker thread; never asked here.
    QString profileWord() override { return {}; }
    int storedDeviceType() override { return 0; }
    void storeDeviceType(int) override {}

    void showDeviceState(const protocol::DeviceStateView& view) override {
        w.showDeviceState(view);
    }
    // The worker settled a choice of the device list: the list shows the type the
    // worker is on, whatever was clicked since.
    void showDeviceDetails(int deviceType, const catalog::DeviceDetails& details) override {
        if (auto* list = w.find<ui::DeviceList>(MainControl::DeviceList))
            list->select(deviceType);
        w.showDeviceDetails(details);
    }
    void closePopups() override { w.closePopups(); }
    void refreshPages(unsigned pages) override {
        w.refreshPages(pages);
        w.publishServiceState();
    }
    void showProfileName(const QString& title) override { w.showProfileName(title); }
    void showVersion(const protocol::VersionView& version) override {
        w.forEachPage([&](Page& page) { page.showVersion(version); });
    }
    void showReceiverVersion(const QString& text) override {
        w.forEachPage([&](Page& page) { page.showReceiverVersion(text); });
    }
    void showBattery(int deviceType, int level, int status) override {
        w.showBattery(deviceType, level, status);
    }
    void showConnectionText(int textId) override { w.showConnectionText(textId); }
    void setDeviceState(int deviceType, int mode, int onlineState) override {
        w.setDeviceState(deviceType, mode, onlineState);
    }
    void showNoDeviceView() override { w.showHomeView(); }
    void showConfigurationPages() override { w.showConfigurationView(); }
    void macroRecorderUnlinked() override {
        w.forEachPage([](Page& page) { page.macroRecorderUnlinked(); });
    }
    void showStageCount(int count) override {
        w.forEachPage([&](Page& page) { page.showStageCount(count); });
    }
    void showActiveStage(int stage, int dpi, bool showPopup) override {
        w.forEachPage([&](Page& page) { page.showActiveStage(stage, dpi, showPopup); });
        // Not shown yet, the performance page has no controls to follow the stage (it
        // reads it from the store when it is built); the pop-up is the window's then.
        if (showPopup && !w.isPageBuilt(PageSlot::Performance))
            w.showDpiPopup(dpi);
        w.publishServiceState();
    }
    void showDpiStages(const protocol::DpiStagesView& stages) override {
        w.forEachPage([&](Page& page) { page.showDpiStages(stages); });
    }
    void showUpdateStatus(const protocol::UpdateStatusView& status) override {
        w.updates().showStatus(status);
        w.forEachPage([&](Page& page) { page.showUpdateStatus(status); });
        if (status.kind == protocol::UpdateKind::Firmware &&
            status.state == protocol::kStrandedInBootloader)
            w.showFirmwareRecoveryView();
    }
    void offerUpdate(protocol::UpdateKind kind, const QString& latest) override {
        w.updates().offer(kind, latest);
    }
    void showSetupProgress(int percent) override { w.updates().showSetupProgress(percent); }
    void setupFailed() override { w.updates().setupFailed(); }
    void showFirmwareProgress(int textId, int percent) override {
        w.updates().showFirmwareProgress(textId, percent);
    }
    void endFirmwareUpgrade(bool succeeded) override { w.firmwareUpgradeEnded(succeeded); }

private:
    DeviceMainDlg& w;
};

} // namespace corvane::app
