#pragma once
// The numbers of the interface texts the application shell shows, looked up in the
// language files' [LAN] section (uiText). Every text number this folder uses is named
// here, so that the language files can be checked against them: name a new one here
// rather than passing a bare number to uiText.

namespace corvane::app {

namespace MainText {
inline constexpr int Title = 1;
inline constexpr int Website = 2;
inline constexpr int CloseTip = 5;
inline constexpr int MinimiseTip = 6;
inline constexpr int MaximiseTip = 7;
inline constexpr int SettingsTip = 11;
inline constexpr int TrayExit = 12;
inline constexpr int FirmwareCaption = 15;
inline constexpr int AboutVersion = 16;
inline constexpr int VersionLabel = 17;
inline constexpr int NoDevice = 50;
inline constexpr int Wired = 51;
inline constexpr int Wireless = 52;
inline constexpr int ConnectHint = 56;
inline constexpr int NotConnected = 57;
inline constexpr int ProfileWord = 61;
inline constexpr int PreviousTip = 85;
inline constexpr int NextTip = 86;
inline constexpr int RestoreDefaults = 558;
inline constexpr int ProfileCaption = 576;
// The tray: pausing the profile's following of the focus, the battery in the tip (%1 the
// level), and the notification of a low battery (%1 the level).
inline constexpr int TrayPause = 640;
inline constexpr int BatteryTip = 641;
inline constexpr int BatteryTipCharging = 642;
inline constexpr int BatteryLow = 643;
// The program ends only once the firmware being written is complete.
inline constexpr int FirmwareUpgrade = 596;
inline constexpr int FirmwareQuitNotice = 598;
// The tabs' captions, in tab order.
inline constexpr int TabHome = 71;
inline constexpr int TabButtons = 72;
inline constexpr int TabPerformance = 73;
inline constexpr int TabMacros = 74;
inline constexpr int TabLighting = 75;
inline constexpr int TabDeviceSettings = 76;
} // namespace MainText

} // namespace corvane::app
