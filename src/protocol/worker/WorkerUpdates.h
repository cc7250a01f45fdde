#pragma once
// The device worker's update tasks: the program and firmware version checks (23, 24),
// the setup download (26) and the firmware upgrade (27). Internal to protocol/; every
// call runs on the worker thread.

#include <atomic>
#include <chrono>
#include <functional>

#include <QString>

#include "protocol/worker/HostGate.h"
#include "protocol/worker/WorkerConfig.h"
#include "protocol/worker/WorkerState.h"
#include "update/HttpClient.h"

namespace corvane::protocol {

class WorkerUpdates {
public:
    struct Context {
        const WorkerConfig& config;
        HostGate& host;
        WorkerState& state;
        // Sleeps; false when the worker is stopping.
        std::function<bool(std::chrono::milliseconds)> pause;
        std::function<bool()> stopping;
    };

    explicit WorkerUpdates(Context context);

    // Task 23: asks the server for the newest program version; a newer one is reported
    // and offered. An answer that is not a version (or none) changes nothing.
    void checkProgramVersion();
    // Task 24 and the end of a successful start: the same for the mouse firmware, once
    // the mouse has been read (its version is known).
    void checkFirmwareVersion();
    // Task 26: downloads and unpacks the setup of the version last offered and has the
    // window start it; any failure is reported and nothing is started.
    void downloadSetup();
    // The setup progress window closed: the setup download queued or running stops and
    // starts nothing. Any thread.
    void cancelSetupDownload();
    // Task 27: downloads the firmware of the version last offered and writes it into the
    // mouse through its bootloader, reporting the progress; ends the progress window.
    void upgradeFirmware();

private:
    bool runUpgrade();
    void firmwareProgress(int textId, int percent);
    QString deviceFirmwareText() const;
    QString tempFolder() const;
    bool setupCancelled() const;

    Context c_;
    update::HttpClient http_;
    std::atomic<bool> setupCancel_{false};
    bool inSetup_ = false; // worker thread only
    QString latestVersion_;
    int updateState_ = 0;
    // The firmware offer: the version, and the address and device type it was checked for.
    QString latestFirmware_;
    QString checkedFirmwareUrl_;
    int checkedFirmwareType_ = 0;
    int firmwareUpdateState_ = 0;
    int lastFirmwareText_ = 0;
    int lastFirmwarePercent_ = -1;
};

} // namespace corvane::protocol
