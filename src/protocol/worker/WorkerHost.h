#pragma once

#include <array>
#include <optional>
#include <vector>

#include <QString>

#include "catalog/DeviceDetails.h"

namespace corvane::protocol {

// The pages the worker asks the window to reload from the store. The window reloads
// the ones asked for in this order: buttons, macros, performance, lighting.
namespace Page {
inline constexpr unsigned Buttons = 1u << 0;
inline constexpr unsigned Macros = 1u << 1;
inline constexpr unsigned Performance = 1u << 2;
inline constexpr unsigned Lighting = 1u << 3;
} // namespace Page

// Interface texts the worker puts in the device state line.
namespace ConnectionText {
inline constexpr int NoDevice = 50;
inline constexpr int Wired = 51;
inline constexpr int Wireless = 52;
} // namespace ConnectionText

// One attached, identified device as the device list shows it.
struct DeviceListEntry {
    int deviceType = 0;
    int mode = 0;          // 0 USB cable, 1 receiver
    int onlineState = 0;   // 1 reachable; 0 or 2 not linked
    int releaseNumber = 0; // firmware version, shown in hexadecimal
    bool operator==(const DeviceListEntry&) const = default;
};

// What the window shows after the worker re-enumerated the devices, applied in this
// order:
//  1. mark every device list entry offline, then give each entry of `attached` its
//     connection mode, online state and firmware version;
//  2. when selectedType is not 0: select it in the device list and, when `details` is
//     set, show that device description (mouse picture, key list and callouts, the
//     lighting tab by hasLighting, the option groups); without `details` the widgets
//     keep what they show;
//  3. the device state line shows the text numbered connectionText; with noPermission
//     (nothing could be opened although a supported mouse is there) it says instead that
//     the program may not open the mouse and what to do about it;
//  4. pagesShown: show the tab column and tab control, select the buttons tab, show
//     the mouse picture, the device state line and the profile and restore buttons;
//     otherwise show the home page and hide the tab column.
struct DeviceStateView {
    std::vector<DeviceListEntry> attached;
    int selectedType = 0;
    std::optional<catalog::DeviceDetails> details;
    int connectionText = ConnectionText::NoDevice;
    bool pagesShown = false;
    bool noPermission = false;
};

// What the version display shows after the mouse was read.
struct VersionView {
    int firmwareRelease = -1; // release number of the interface commands go to; -1 none
    QString receiverVersion;  // e.g. "105" for receiver 1.05; empty when not read
};

// The DPI stages of the current profile for the performance page (after the factory
// DPI values were restored).
struct DpiStagesView {
    static constexpr int kStages = 7;
    std::array<int, kStages> values{};  // dpi_group0_value ... dpi_group6_value
    std::array<int, kStages> colours{}; // dpi_group0_rgb ... dpi_group6_rgb (0x00BBGGRR)
    int count = 0;                      // dpi_count
    int activeStage = 0;                // dpi_index, or 0 when it is not below count
};

// The two things the update tasks check: the program itself and the mouse firmware.
enum class UpdateKind { Program = 1, Firmware = 2 };

// The result of a completed version check, for the settings pages' status line and
// update button (program: the program settings page; firmware: the device settings
// page). An answer that is not a version changes nothing and reports nothing.
struct UpdateStatusView {
    UpdateKind kind = UpdateKind::Program;
    int state = 0;             // 1 a newer version exists, 2 none, kStrandedInBootloader
    QString latest;            // the version the server announced
    bool buttonEnabled = true; // the button stays enabled only while a newer one exists
    int deviceType = 0;        // with kStrandedInBootloader: the mouse's device type
};
// A firmware status: a mouse waits in its bootloader (its last firmware write did not
// end) and `latest` is what the server offers for it; DeviceTask 28 writes it again.
inline constexpr int kStrandedInBootloader = 3;

// Interface texts of the firmware progress window's status line.
namespace FirmwareText {
inline constexpr int Downloading = 590;
inline constexpr int Preparing = 591;
inline constexpr int Upgrading = 592;
inline constexpr int Done = 593;
inline constexpr int Failed = 594;
} // namespace FirmwareText

// The device worker's only way to the main window (implemented by app/).
//
// Every call comes from the worker thread, in the order the worker makes them; an
// implementation hands the visible work to the UI thread (queued, in order) and must
// never wait for the UI thread. After DeviceWorker::stop has returned, no call is made
// any more. Calls are expected to return quickly: stop waits for one in progress.
class WorkerHost {
public:
    virtual ~WorkerHost() = default;

    // --- what the worker needs from above (answered on the worker thread itself) ---
    // The profile word (interface text 61) in the language in use.
    virtual QString profileWord() = 0;
    // The stored "DeviceType" user value (0 when missing), and writing it.
    virtual int storedDeviceType() = 0;
    virtual void storeDeviceType(int deviceType) = 0;

    // --- the device view ---
    virtual void showDeviceState(const DeviceStateView& view) = 0;
    // A device type chosen in the device list was settled (selectDeviceType): show its
    // description as in step 2 of DeviceStateView.
    virtual void showDeviceDetails(int deviceType, const catalog::DeviceDetails& details) = 0;
    // Closes the transient pop-ups (message boxes, menus, the saving wait window...),
    // stops a macro recording and takes the focus from the DPI stage bar.
    virtual void closePopups() = 0;
    // Reloads the pages named by the Page bits, in the fixed order.
    virtual void refreshPages(unsigned pages) = 0;
    // The profile button's title.
    virtual void showProfileName(const QString& title) = 0;
    virtual void showVersion(const VersionView& version) = 0;
    // The version display shows the label text 551 with the receiver version text
    // (first character, a dot, the last two characters).
    virtual void showReceiverVersion(const QString& versionText) = 0;
    // The battery indicator and the device list's battery entry of the type.
    virtual void showBattery(int deviceType, int level, int status) = 0;
    // The device state line: ConnectionText 50, 51 or 52.
    virtual void showConnectionText(int textId) = 0;
    // The device list entry of the type: connection mode and online state.
    virtual void setDeviceState(int deviceType, int mode, int onlineState) = 0;
    // No device is online any more: the home page with the device list.
    virtual void showNoDeviceView() = 0;
    // The wireless mouse linked again: the configuration pages.
    virtual void showConfigurationPages() = 0;
    // The wireless mouse went away: the macro editor ends a recording in progress.
    virtual void macroRecorderUnlinked() = 0;

    // --- the mouse's DPI button (the store already holds the new values) ---
    // The stage count changed: show it and lay the stages out again.
    virtual void showStageCount(int count) = 0;
    // The active stage changed: select it, move the DPI slider to `dpi`, and when
    // `showPopup` show the DPI pop-up with it.
    virtual void showActiveStage(int stage, int dpi, bool showPopup) = 0;
    // The factory DPI stages were restored: show them on the performance page.
    virtual void showDpiStages(const DpiStagesView& stages) = 0;

    // --- updates (tasks 23, 24, 26, 27); the window side implements every one ---
    // A version check completed.
    virtual void showUpdateStatus(const UpdateStatusView& /*status*/) {}
    // A newer version exists: ask the user whether to update (the window's message 1692).
    virtual void offerUpdate(UpdateKind /*kind*/, const QString& /*latest*/) {}
    // The setup download's progress, 0 to 100 (the window's message 1694).
    virtual void showSetupProgress(int /*percent*/) {}
    // The setup download, its unpacking or the start of the setup failed.
    virtual void setupFailed() {}
    // Starts the unpacked setup program (answered on the worker thread). When it
    // started, the window ends the program through its normal exit path; false when it
    // could not be started (the program goes on).
    virtual bool startSetup(const QString& /*program*/) { return false; }
    // The firmware progress window's status line and bar: FirmwareText, 0 to 100.
    virtual void showFirmwareProgress(int /*textId*/, int /*percent*/) {}
    // The firmware upgrade ended: after a success the progress window closes; after a
    // failure it keeps its failure line and can be closed by the user.
    virtual void endFirmwareUpgrade(bool /*succeeded*/) {}
};

} // namespace corvane::protocol
