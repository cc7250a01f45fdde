#pragma once
// A WorkerHost for a worker that runs without a window (the command-line tool, the
// benchmarks): every call that would change what a user sees does nothing. What the
// worker asks (the profile word, the stored device type) is left to the subclass.

#include "protocol/worker/WorkerHost.h"

namespace corvane::protocol {

class QuietWorkerHost : public WorkerHost {
public:
    void showDeviceState(const DeviceStateView&) override {}
    void showDeviceDetails(int, const catalog::DeviceDetails&) override {}
    void closePopups() override {}
    void refreshPages(unsigned) override {}
    void showProfileName(const QString&) override {}
    void showVersion(const VersionView&) override {}
    void showReceiverVersion(const QString&) override {}
    void showBattery(int, int, int) override {}
    void showConnectionText(int) override {}
    void setDeviceState(int, int, int) override {}
    void showNoDeviceView() override {}
    void showConfigurationPages() override {}
    void macroRecorderUnlinked() override {}
    void showStageCount(int) override {}
    void showActiveStage(int, int, bool) override {}
    void showDpiStages(const DpiStagesView&) override {}
};

} // namespace corvane::protocol
