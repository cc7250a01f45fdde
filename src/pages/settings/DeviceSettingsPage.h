#pragma once
// pages/settings: device and program settings pages, their commands, the profile pop-up.
// The device settings page: the mouse's firmware (version line and check button; for a
// mouse left in its bootloader, the offer to write its firmware again), the receiver
// panel, and the restore-defaults command.

#include "pages/host/Page.h"

namespace corvane::pages {

class PageHost;

class DeviceSettingsPage final : public Page {
public:
    // The page's own control numbers.
    enum Control {
        Background = 192,
        Title = 194,
        FirmwareMark = 237,
        ReceiverMark = 238,
        RestoreMark = 242,
        FirmwareTitle = 243,
        ReceiverTitle = 244,
        RestoreTitle = 245,
        FirmwareStatus = 246,
        ReceiverStatus = 247,
        FirmwareButton = 248,
        ReceiverButton = 249,
        RestoreButton = 250,
    };
    // The main window's restore button, handed to this page.
    static constexpr int kWindowRestoreButton = 46;

    explicit DeviceSettingsPage(PageHost& host) : m_host(host) {}

    void createControls(PageControls& controls) override;
    void layout(const QRect& area, double uiScale) override;
    int onMessage(int local, int code, int p1, int p2) override;
    void applyTexts() override;
    void showUpdateStatus(const protocol::UpdateStatusView& status) override;

private:
    void firmwareButton();
    // The firmware panel's status line and button: the last check's result, or the offer
    // to write the firmware again into a mouse that waits in its bootloader.
    void showFirmwareStatus();
    bool mouseInBootloader() const;

    PageHost& m_host;
    PageControls* m_controls = nullptr;
    // The firmware status line: its initial text until a firmware check reported.
    bool m_firmwareChecked = false;
    protocol::UpdateStatusView m_firmware;
};

} // namespace corvane::pages
