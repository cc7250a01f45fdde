#include "app/window/WindowHost.h"

#include "app/desktop/ProgramLauncher.h"
#include "app/start/UiText.h"
#include "app/start/UserValues.h"
#include "app/window/MainWindowIds.h"
#include "ui/base/Post.h"

namespace corvane::app {

namespace {
const QString kDeviceTypeName = QStringLiteral("DeviceType");
}

WindowHost::WindowHost(protocol::WorkerHost& uiSide, QObject* lifetime, UserValues& values)
    : uiSide(uiSide), lifetime(lifetime), values(values) {}

template <typename F> void WindowHost::toUi(F&& f) {
    // The QPointer is copied now and read on the UI thread, where the window is deleted.
    ui::post([target = &uiSide, guard = lifetime, f = std::forward<F>(f)]() mutable {
        if (guard)
            f(*target);
    });
}

QString WindowHost::profileWord() {
    return uiText(MainText::ProfileWord);
}

int WindowHost::storedDeviceType() {
    return values.readUserValue(kDeviceTypeName);
}

void WindowHost::storeDeviceType(int deviceType) {
    values.writeUserValue(kDeviceTypeName, QString::number(deviceType));
}

void WindowHost::showDeviceState(const protocol::DeviceStateView& view) {
    toUi([view](WorkerHost& ui) { ui.showDeviceState(view); });
}

void WindowHost::showDeviceDetails(int deviceType, const catalog::DeviceDetails& details) {
    toUi([deviceType, details](WorkerHost& ui) { ui.showDeviceDetails(deviceType, details); });
}

void WindowHost::closePopups() {
    toUi([](WorkerHost& ui) { ui.closePopups(); });
}

void WindowHost::refreshPages(unsigned pages) {
    toUi([pages](WorkerHost& ui) { ui.refreshPages(pages); });
}

void WindowHost::showProfileName(const QString& title) {
    toUi([title](WorkerHost& ui) { ui.showProfileName(title); });
}

void WindowHost::showVersion(const protocol::VersionView& version) {
    toUi([version](WorkerHost& ui) { ui.showVersion(version); });
}

void WindowHost::showReceiverVersion(const QString& versionText) {
    toUi([versionText](WorkerHost& ui) { ui.showReceiverVersion(versionText); });
}

void WindowHost::showBattery(int deviceType, int level, int status) {
    toUi([=](WorkerHost& ui) { ui.showBattery(deviceType, level, status); });
}

void WindowHost::showConnectionText(int textId) {
    toUi([textId](WorkerHost& ui) { ui.showConnectionText(textId); });
}

void WindowHost::setDeviceState(int deviceType, int mode, int onlineState) {
    toUi([=](WorkerHost& ui) { ui.setDeviceState(deviceType, mode, onlineState); });
}

void WindowHost::showNoDeviceView() {
    toUi([](WorkerHost& ui) { ui.showNoDeviceView(); });
}

void WindowHost::showConfigurationPages() {
    toUi([](WorkerHost& ui) { ui.showConfigurationPages(); });
}

void WindowHost::macroRecorderUnlinked() {
    toUi([](WorkerHost& ui) { ui.macroRecorderUnlinked(); });
}

void WindowHost::showStageCount(int count) {
    toUi([count](WorkerHost& ui) { ui.showStageCount(count); });
}

void WindowHost::showActiveStage(int stage, int dpi, bool showPopup) {
    toUi([=](WorkerHost& ui) { ui.showActiveStage(stage, dpi, showPopup); });
}

void WindowHost::showDpiStages(const protocol::DpiStagesView& stages) {
    toUi([stages](WorkerHost& ui) { ui.showDpiStages(stages); });
}

// --- updates ---

void WindowHost::setSetupStarter(ProgramLauncher* starter, std::function<void()> end) {
    launcher = starter;
    endProgram = std::move(end);
}

void WindowHost::showUpdateStatus(const protocol::UpdateStatusView& status) {
    toUi([status](WorkerHost& ui) { ui.showUpdateStatus(status); });
}

void WindowHost::offerUpdate(protocol::UpdateKind kind, const QString& latest) {
    toUi([kind, latest](WorkerHost& ui) { ui.offerUpdate(kind, latest); });
}

void WindowHost::showSetupProgress(int percent) {
    toUi([percent](WorkerHost& ui) { ui.showSetupProgress(percent); });
}

void WindowHost::setupFailed() {
    toUi([](WorkerHost& ui) { ui.setupFailed(); });
}

bool WindowHost::startSetup(const QString& program) {
    if (!launcher || !launcher->startDetached(program, {}))
        return false;
    // The setup runs on its own; the program ends the way the user's exit ends it.
    ui::post([guard = lifetime, end = endProgram] {
        if (guard && end)
            end();
    });
    return true;
}

void WindowHost::showFirmwareProgress(int textId, int percent) {
    toUi([=](WorkerHost& ui) { ui.showFirmwareProgress(textId, percent); });
}

void WindowHost::endFirmwareUpgrade(bool succeeded) {
    toUi([succeeded](WorkerHost& ui) { ui.endFirmwareUpgrade(succeeded); });
}

} // namespace corvane::app
