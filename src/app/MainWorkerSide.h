#pragma once
// The main window's side of the device worker's reports: the WorkerHost whose calls
// WindowHost hands to the UI thread. Internal to the main window.

#include "app/DeviceMainDlg.h"

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
    void showDeviceDetails(int, const catalog::DeviceDetails& details) override {
        w.showDeviceDetails(details);
    }
    void closePopups() override { w.closePopups(); }
    void refreshPages(unsigned pages) override { w.refreshPages(pages); }
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
    }
    void showDpiStages(const protocol::DpiStagesView& stages) override {
        w.forEachPage([&](Page& page) { page.showDpiStages(stages); });
    }

private:
    DeviceMainDlg& w;
};

} // namespace corvane::app
