#include "pages/update/UpdateFlow.h"

#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/update/UpdateProcessDlg.h"
#include "pages/update/UpdateTipDlg.h"
#include "protocol/worker/DeviceTask.h"
#include "update/Versions.h"

namespace corvane::pages {
namespace {

constexpr int kTextFirmwareTitle = 551;
constexpr int kTextLatest = 580;
constexpr int kTextSoftwareUpdate = 581;
constexpr int kTextNewVersion = 582;
constexpr int kTextUpdateNow = 583;

QString lookup(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

// The version as the offer and the status line write it after the letter V or v.
QString versionShown(protocol::UpdateKind kind, const QString& latest) {
    return kind == protocol::UpdateKind::Firmware ? update::firmwareVersionShown(latest) : latest;
}

} // namespace

UpdateFlow::UpdateFlow(QWidget* mainWindow, UpdateFlowHooks hooks)
    : m_mainWindow(mainWindow), m_hooks(std::move(hooks)) {}

UpdateFlow::~UpdateFlow() {
    closeWindows();
}

UpdateFlow::Status& UpdateFlow::statusOf(protocol::UpdateKind kind) {
    return kind == protocol::UpdateKind::Program ? m_program : m_firmware;
}

const UpdateFlow::Status& UpdateFlow::statusOf(protocol::UpdateKind kind) const {
    return kind == protocol::UpdateKind::Program ? m_program : m_firmware;
}

// --- status lines and buttons ---

void UpdateFlow::showStatus(const protocol::UpdateStatusView& status) {
    Status& shown = statusOf(status.kind);
    shown.reported = true;
    shown.deviceType = status.deviceType;
    shown.state = status.state;
    shown.latest = status.latest;
    shown.buttonEnabled = status.buttonEnabled;
    if (m_listener)
        m_listener(status.kind);
}

UpdateFlow::StatusLine UpdateFlow::statusLine(protocol::UpdateKind kind) const {
    const Status& status = statusOf(kind);
    StatusLine line;
    line.buttonEnabled = status.buttonEnabled;
    if (status.state == 1) {
        const QString letter =
            kind == protocol::UpdateKind::Program ? QStringLiteral("v") : QStringLiteral("V");
        line.text = QStringLiteral("%1: %2%3")
                        .arg(lookup(kTextNewVersion), letter, versionShown(kind, status.latest));
    } else {
        line.text = lookup(kTextLatest);
    }
    return line;
}

std::optional<protocol::UpdateStatusView> UpdateFlow::lastStatus(protocol::UpdateKind kind) const {
    const Status& status = statusOf(kind);
    if (!status.reported)
        return std::nullopt;
    return protocol::UpdateStatusView{kind, status.state, status.latest, status.buttonEnabled,
                                      status.deviceType};
}

void UpdateFlow::setStatusListener(std::function<void(protocol::UpdateKind)> listener) {
    m_listener = std::move(listener);
}

void UpdateFlow::pressUpdateButton() {
    if (isBusy(protocol::UpdateKind::Program))
        return;
    if (m_hooks.queueTask)
        m_hooks.queueTask(protocol::DeviceTask::CheckProgramVersion);
}

void UpdateFlow::pressFirmwareButton() {
    if (isBusy(protocol::UpdateKind::Firmware))
        return;
    if (!m_hooks.firmwareUrl || m_hooks.firmwareUrl().isEmpty()) {
        if (m_hooks.ask)
            m_hooks.ask(lookup(kTextLatest), lookup(kTextFirmwareTitle), MessageOneButton);
        return;
    }
    if (m_hooks.queueTask)
        m_hooks.queueTask(protocol::DeviceTask::CheckFirmwareVersion);
}

void UpdateFlow::writeFirmwareAgain() {
    if (isBusy(protocol::UpdateKind::Firmware))
        return;
    if (m_hooks.queueTask)
        m_hooks.queueTask(protocol::DeviceTask::RecoverFirmware);
    openFirmwareWindow();
}

// --- offers ---

bool UpdateFlow::isBusy(protocol::UpdateKind kind) const {
    if (kind == protocol::UpdateKind::Program)
        return m_askingProgram || (setupWindow() && !setupWindow()->hasFailed());
    return m_askingFirmware || (firmwareWindow() && !firmwareWindow()->hasFailed());
}

bool UpdateFlow::isWritingFirmware() const {
    return firmwareWindow() && !firmwareWindow()->hasFailed();
}

void UpdateFlow::offer(protocol::UpdateKind kind, const QString& latest) {
    if (isBusy(kind) || !m_hooks.ask)
        return;
    const bool program = kind == protocol::UpdateKind::Program;
    bool& asking = program ? m_askingProgram : m_askingFirmware;
    const QString question =
        QStringLiteral("%1:V%2, %3")
            .arg(lookup(kTextNewVersion), versionShown(kind, latest), lookup(kTextUpdateNow));
    asking = true;
    const int answer = m_hooks.ask(
        question, lookup(program ? kTextSoftwareUpdate : kTextFirmwareTitle), MessageTwoButtons);
    asking = false;
    if (answer != 1)
        return;
    if (m_hooks.queueTask)
        m_hooks.queueTask(program ? protocol::DeviceTask::DownloadSetup
                                  : protocol::DeviceTask::UpgradeFirmware);
    if (program)
        openSetupWindow();
    else
        openFirmwareWindow();
}

// --- the progress windows ---

UpdateProcessDlg* UpdateFlow::setupWindow() const {
    return m_setupWindow && m_setupWindow->isCreated() ? m_setupWindow.data() : nullptr;
}

UpdateTipDlg* UpdateFlow::firmwareWindow() const {
    return m_firmwareWindow && m_firmwareWindow->isCreated() ? m_firmwareWindow.data() : nullptr;
}

void UpdateFlow::openSetupWindow() {
    delete m_setupWindow.data();
    m_setupWindow = new UpdateProcessDlg;
    m_setupWindow->openOver(m_mainWindow);
    if (m_hooks.cancelSetup)
        m_setupWindow->setCancel(m_hooks.cancelSetup);
}

void UpdateFlow::openFirmwareWindow() {
    delete m_firmwareWindow.data(); // one that is still open after a failure goes
    m_firmwareWindow = new UpdateTipDlg;
    m_firmwareWindow->openOver(m_mainWindow);
}

void UpdateFlow::showSetupProgress(int percent) {
    if (UpdateProcessDlg* window = setupWindow())
        window->setProgress(percent);
}

void UpdateFlow::setupFailed() {
    if (UpdateProcessDlg* window = setupWindow())
        window->showFailure();
}

void UpdateFlow::showFirmwareProgress(int textId, int percent) {
    if (UpdateTipDlg* window = firmwareWindow())
        window->setProgress(textId, percent);
}

void UpdateFlow::endFirmwareUpgrade(bool succeeded) {
    UpdateTipDlg* window = firmwareWindow();
    if (!window)
        return;
    if (succeeded)
        window->DestroyWindow();
    else
        window->showFailure();
}

void UpdateFlow::applyTexts() {
    if (UpdateProcessDlg* window = setupWindow())
        window->applyTexts();
    if (UpdateTipDlg* window = firmwareWindow())
        window->applyTexts();
    if (m_listener) {
        m_listener(protocol::UpdateKind::Program);
        m_listener(protocol::UpdateKind::Firmware);
    }
}

void UpdateFlow::closeWindows() {
    delete m_setupWindow.data();
    delete m_firmwareWindow.data();
}

} // namespace corvane::pages
