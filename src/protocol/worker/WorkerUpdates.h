#pragma once
// The device worker's update tasks: the program and firmware version checks (23, 24),
// the setup download (26), the firmware upgrade (27) and writing the firmware again into
// a mouse left in its bootloader (28). Internal to protocol/; every
// call runs on the worker thread.

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>

#include <QString>

#include "protocol/worker/HostGate.h"
#include "protocol/worker/WorkerConfig.h"
#include "protocol/worker/WorkerState.h"
#include "update/HttpClient.h"

namespace corvane::protocol {

// A mouse that waits in its bootloader for a firmware (the last write did not end).
struct StrandedMouse {
    int deviceType = 0;
    int vendorId = 0;
    int productId = 0;
    QString firmwareUrl; // its device type's firmware address
};

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
    // After a scan found `mouse` in its bootloader: asks the server which firmware it
    // offers for it and reports the mouse to the window (UpdateStatusView with state
    // kStrandedInBootloader), which offers to write it again.
    void offerFirmwareRecovery(const StrandedMouse& mouse);
    // Task 28: writes the firmware offered by offerFirmwareRecovery into that mouse's
    // bootloader, through the same signed manifest as an upgrade; ends the progress
    // window as task 27 does.
    void recoverFirmware();

private:
    bool runUpgrade();
    void endFirmwareWrite(bool written);
    bool writeFirmware(const QString& base, const QString& version, int vendorId, int productId);
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
    std::optional<StrandedMouse> stranded_;
    QString strandedVersion_;
    int lastFirmwareText_ = 0;
    int lastFirmwarePercent_ = -1;
};

} // namespace corvane::protocol
