#include "pages/settings/DeviceSettingsPage.h"

#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/host/PageControls.h"
#include "pages/host/PageHost.h"
#include "pages/settings/SettingsCommands.h"
#include "protocol/worker/DeviceTask.h"
#include "ui/base/Settings.h"
#include "ui/base/Skin.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "update/Versions.h"

namespace corvane::pages {

namespace {

QString text(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

// One panel of the page: its round mark, title, status line and button.
struct PanelControls {
    int mark;
    int title;
    int titleText;
    int status;
    int button;
    int buttonText;
};
constexpr PanelControls kPanels[] = {
    {DeviceSettingsPage::FirmwareMark, DeviceSettingsPage::FirmwareTitle, 551,
     DeviceSettingsPage::FirmwareStatus, DeviceSettingsPage::FirmwareButton, 578},
    {DeviceSettingsPage::ReceiverMark, DeviceSettingsPage::ReceiverTitle, 552,
     DeviceSettingsPage::ReceiverStatus, DeviceSettingsPage::ReceiverButton, 578},
    {DeviceSettingsPage::RestoreMark, DeviceSettingsPage::RestoreTitle, 558, 0,
     DeviceSettingsPage::RestoreButton, 558},
};
constexpr int kTextStranded = 650;   // the mouse waits for its firmware V%1
constexpr int kTextWriteAgain = 651; // the button that writes it again
constexpr int kPanelBackground = 193;
constexpr int kMargin = 40;
constexpr int kGap = 30;
constexpr int kTop = 90;
constexpr int kPanelHeight = 260;

} // namespace

void DeviceSettingsPage::createControls(PageControls& controls) {
    m_controls = &controls;
    controls.add<ui::Panel>(Background)->setFillColour(Qt::transparent);
    controls.add<ui::Panel>(kPanelBackground)->setFillColour(Qt::transparent);
    auto* title = controls.add<ui::StaticText>(Title);
    title->setTextFont({}, 22, ui::FontBold);
    const QColor marks[] = {ui::selectionColour(), ui::skin::mutedTextColour(),
                            ui::selectionColour()};
    for (std::size_t i = 0; i < std::size(kPanels); ++i) {
        const PanelControls& panel = kPanels[i];
        auto* mark = controls.add<ui::Picture>(panel.mark);
        mark->setFillColour(marks[i]);
        mark->setRound(true);
        controls.add<ui::StaticText>(panel.title)->setTextFont({}, 18, ui::FontBold);
        if (panel.status) {
            auto* status = controls.add<ui::StaticText>(panel.status);
            status->setTextColour(ui::skin::mutedTextColour());
            status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
        controls.add<ui::PushButton>(panel.button)->setImages(QStringLiteral("img_button.png"));
    }
    applyTexts();
}

void DeviceSettingsPage::layout(const QRect& area, double /*uiScale*/) {
    if (!m_controls)
        return;
    const int w = area.width();
    m_controls->control(Background)->setGeometry(0, 0, w, area.height());
    m_controls->control(kPanelBackground)->setGeometry(0, kTop - 20, w, kPanelHeight + 40);
    m_controls->control(Title)->setGeometry(kMargin, 24, w - 2 * kMargin, 36);
    const int panelWidth = (w - 2 * kMargin - 2 * kGap) / 3;
    for (std::size_t i = 0; i < std::size(kPanels); ++i) {
        const PanelControls& panel = kPanels[i];
        const int left = kMargin + int(i) * (panelWidth + kGap);
        m_controls->control(panel.mark)->setGeometry(left, kTop + 8, 14, 14);
        m_controls->control(panel.title)->setGeometry(left + 24, kTop, panelWidth - 24, 30);
        if (panel.status)
            m_controls->control(panel.status)->setGeometry(left, kTop + 50, panelWidth, 100);
        m_controls->control(panel.button)
            ->setGeometry(left, kTop + kPanelHeight - 44, std::min(panelWidth, 220), 40);
    }
}

int DeviceSettingsPage::onMessage(int local, int code, int /*p1*/, int /*p2*/) {
    if (code != ui::Notify::Click)
        return 0;
    switch (local) {
    case FirmwareButton:
        firmwareButton();
        break;
    case ReceiverButton:
        m_host.showMessage(text(580), text(552), MessageOneButton);
        break;
    case RestoreButton:
    case kWindowRestoreButton:
        restoreDefaults(m_host);
        break;
    default:
        break;
    }
    return 0;
}

bool DeviceSettingsPage::mouseInBootloader() const {
    return m_firmwareChecked && m_firmware.state == protocol::kStrandedInBootloader;
}

void DeviceSettingsPage::firmwareButton() {
    if (mouseInBootloader()) {
        m_host.writeFirmwareAgain();
        return;
    }
    if (m_host.deviceDetails().firmwareUrl.isEmpty()) {
        m_host.showMessage(text(580), text(551), MessageOneButton);
        return;
    }
    m_host.queueTask(protocol::DeviceTask::CheckFirmwareVersion);
}

void DeviceSettingsPage::applyTexts() {
    if (!m_controls)
        return;
    m_controls->control(Title)->setText(text(76));
    for (const PanelControls& panel : kPanels) {
        m_controls->control(panel.title)->setText(text(panel.titleText));
        m_controls->control(panel.button)->setText(text(panel.buttonText));
    }
    showFirmwareStatus();
    m_controls->control(ReceiverStatus)->setText(text(580));
}

void DeviceSettingsPage::showFirmwareStatus() {
    ui::Control* status = m_controls->control(FirmwareStatus);
    ui::Control* button = m_controls->control(FirmwareButton);
    if (mouseInBootloader()) {
        status->setText(
            text(kTextStranded)
                .arg(QStringLiteral("V") + update::firmwareVersionShown(m_firmware.latest)));
        button->setText(text(kTextWriteAgain));
        button->setEnabled(true);
        return;
    }
    status->setText(m_firmwareChecked ? updateStatusLine(m_firmware) : text(580));
    button->setText(text(578));
    if (m_firmwareChecked)
        button->setEnabled(m_firmware.buttonEnabled);
}

void DeviceSettingsPage::showUpdateStatus(const protocol::UpdateStatusView& status) {
    if (status.kind != protocol::UpdateKind::Firmware || !m_controls)
        return;
    m_firmwareChecked = true;
    m_firmware = status;
    showFirmwareStatus();
}

} // namespace corvane::pages
