#pragma once
// The numbers the main window is built from: control ids, tab item ids and the window
// messages it takes. Its interface text numbers are in TextIds.h. The pages' controls
// carry ids from 1000 up (pages/host/PageIds.h); the window's own stay below.

#include "app/start/TextIds.h"

namespace corvane::app {

namespace MainControl {
inline constexpr int Background = 30;
inline constexpr int MousePicture = 31;
inline constexpr int CaptionBar = 32;
inline constexpr int BottomBar = 33;
inline constexpr int Logo = 34;
inline constexpr int Title = 35;
inline constexpr int VersionLine = 36;
inline constexpr int Website = 37;
inline constexpr int Close = 38;
inline constexpr int Minimise = 39;
inline constexpr int Settings = 40;
inline constexpr int Maximise = 41;
inline constexpr int Battery = 43;
inline constexpr int DeviceState = 44;
inline constexpr int Profile = 45;
inline constexpr int RestoreDefaults = 46;
inline constexpr int TabBackground = 47;
inline constexpr int Tabs = 48;
inline constexpr int HomePage = 49;
inline constexpr int ButtonsPage = 50;
inline constexpr int ButtonsInner = 51;
inline constexpr int PerformancePage = 52;
inline constexpr int MacrosPage = 53;
inline constexpr int LightingPage = 54;
inline constexpr int DeviceSettingsPage = 55;
inline constexpr int ProgramSettingsPage = 56;
inline constexpr int DeviceList = 57;
inline constexpr int Banner = 58;
inline constexpr int BannerText = 59;
inline constexpr int PreviousDevices = 60;
inline constexpr int NextDevices = 61;
// The frame the pages are drawn in (the program settings and the home page too).
inline constexpr int ContentFrame = 62;
} // namespace MainControl

// Item ids of the tab control (6 is not used).
namespace TabItem {
inline constexpr int Home = 1;
inline constexpr int Buttons = 2;
inline constexpr int Performance = 3;
inline constexpr int Macros = 4;
inline constexpr int Lighting = 5;
inline constexpr int DeviceSettings = 7;
} // namespace TabItem

// Positions in the tab control.
namespace TabIndex {
inline constexpr int Home = 0;
inline constexpr int Buttons = 1;
inline constexpr int Performance = 2;
inline constexpr int Lighting = 4;
} // namespace TabIndex

// Numbered messages the main window takes (ui::Dialog::postMessage / sendMessage).
namespace MainMessage {
inline constexpr int TrayExitCommand = 100; // ui::Message::Command: the tray menu's item
inline constexpr int AboutCommand = 102;    // ui::Message::Command: the about window
inline constexpr int Quit = 1691;           // with lParam QuitCode: end the program
inline constexpr int QuitCode = 610;
inline constexpr int Retranslate = 2022; // apply every text again
} // namespace MainMessage

} // namespace corvane::app
