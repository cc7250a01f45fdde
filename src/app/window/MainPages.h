#pragma once

namespace corvane::app {

class DeviceMainDlg;

// Gives the window the configuration pages that exist, each made with the window as its
// host. Before the window is created.
void addConfigurationPages(DeviceMainDlg& window);

} // namespace corvane::app
