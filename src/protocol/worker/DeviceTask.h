#pragma once

namespace corvane::protocol {

// The numbered requests the pages and the main window queue for the device worker.
// Codes are ints on purpose: callers queue whatever they hold, and a code the worker
// does not know is taken off the queue and ignored.
namespace DeviceTask {
inline constexpr int DeviceStart = 1;           // program start: rescan, settle, read back
inline constexpr int DeviceArrived = 2;         // a command interface arrived
inline constexpr int DeviceRemoved = 3;         // a receiver or device interface went away
inline constexpr int Reselect = 4;              // the user picked a wireless device
inline constexpr int PushProfile = 5;           // profile switch or import: send everything
inline constexpr int SendButtons = 6;           // macro download when pending, then buttons
inline constexpr int SendLighting = 8;          //
inline constexpr int SendDpi = 9;               // stages, stage count, active stage
inline constexpr int SendDpiColors = 10;        //
inline constexpr int SendReportRate = 11;       //
inline constexpr int SendSensor = 12;           // lift-off height and sensor options
inline constexpr int SendPower = 13;            // sleep, wake-up, light-off, response time
inline constexpr int ResetLighting = 17;        // the mouse's own lighting reset, read back
inline constexpr int RestoreDpiDefaults = 18;   // factory DPI stages into the profile
inline constexpr int FactoryReset = 20;         // the mouse and every profile to factory
inline constexpr int CheckProgramVersion = 23;  // the newest program version on the server
inline constexpr int CheckFirmwareVersion = 24; // the newest mouse firmware on the server
inline constexpr int DownloadSetup = 26;        // download, unpack and start the new setup
inline constexpr int UpgradeFirmware = 27;      // write the new firmware into the mouse
inline constexpr int RecoverFirmware = 28;      // the same into a mouse left in its bootloader
// The active stage the mouse may have moved to by itself (its DPI button) while nobody
// followed its notices: read and stored before a change is made from the store.
inline constexpr int FollowMouseStage = 30;
} // namespace DeviceTask

} // namespace corvane::protocol
