// The main window's life: start-up of the window, its messages and notifications, the
// exit paths and the teardown. Controls, views, catalog, texts and the worker's reports
// live in the Main*.cpp files beside this one.
#include "app/window/DeviceMainDlg.h"

#include "app/desktop/BatteryAlerts.h"
#include "app/desktop/DesktopNotifier.h"
#include "app/desktop/DeviceChangeWiring.h"
#include "app/desktop/MainTray.h"
#include "app/desktop/ProgramLauncher.h"
#include "app/desktop/SystemIntegration.h"
#include "app/frame/AboutDlg.h"
#include "app/frame/WindowPolicy.h"
#include "app/start/UiText.h"
#include "app/start/UserValues.h"
#include "app/window/MainWindowIds.h"
#include "app/window/MainWorkerSide.h"
#include "app/window/MessageBoxes.h"
#include "app/window/WindowHost.h"
#include "bus/SessionService.h"
#include "focus/FocusWatcher.h"
#include "focus/ProfileFollower.h"
#include "hid/DeviceManager.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/dialogs/MousePaletteDlg.h"
#include "pages/host/FileDialogs.h"
#include "pages/host/PageControls.h"
#include "pages/keys/KeyCapture.h"
#include "pages/performance/DpiMsgDlg.h"
#include "pages/settings/ProfileDlg.h"
#include "pages/update/UpdateFlow.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "ui/base/Settings.h"
#include "ui/controls/Menu.h"
#include "ui/views/DeviceList.h"
#include "ui/views/Icon.h"
#include "ui/views/Picture.h"

#include <QSystemTrayIcon>

namespace corvane::app {

namespace {

const QString kExitModeName = QStringLiteral("exit_mode");
const QString kDeviceTypeName = QStringLiteral("DeviceType");
// Written at every start: the stored choice of the last run is not carried over, the
// first attached device the catalog lists becomes current.
constexpr int kStartDeviceType = 101;
constexpr int kCaptionHeight = 64;

} // namespace

DeviceMainDlg::DeviceMainDlg(WindowContext context)
    : m_context(std::move(context)), m_keyCapture(std::make_unique<pages::KeyCapture>()),
      m_uiSide(std::make_unique<UiSide>(*this)) {
    m_fontNames[0] = m_fontNames[1] = QStringLiteral("Open Sans Semibold");
    m_host = std::make_unique<WindowHost>(*m_uiSide, this, *m_context.userValues);

    pages::UpdateFlowHooks updateHooks;
    updateHooks.ask = [this](const QString& text, const QString& title, int style) {
        return m_context.messageBoxes->showMessage(text, this, title, style);
    };
    updateHooks.queueTask = [this](int code) { queueTask(code); };
    updateHooks.firmwareUrl = [this] { return m_details.firmwareUrl; };
    updateHooks.cancelSetup = [this] {
        if (m_worker)
            m_worker->cancelSetupDownload();
    };
    m_updates = std::make_unique<pages::UpdateFlow>(this, std::move(updateHooks));
    ProgramLauncher* launcher = m_context.launcher;
    if (!launcher) {
        m_systemLauncher = std::make_unique<SystemProgramLauncher>();
        launcher = m_systemLauncher.get();
    }
    m_host->setSetupStarter(launcher, [this] { endProgram(); });
}

DeviceMainDlg::~DeviceMainDlg() {
    stopSessionService();
    m_follower.reset();
    m_focusWatcher.reset();
    stopWorker();
    m_updates.reset();
    m_deviceChanges.reset();
    m_tray.reset();
}

bool DeviceMainDlg::addPage(PageSlot slot, std::unique_ptr<Page> page) {
    if (isCreated())
        return false;
    m_pages[static_cast<std::size_t>(slot)] = std::move(page);
    return true;
}

Page* DeviceMainDlg::page(PageSlot slot) const {
    return m_pages[static_cast<std::size_t>(slot)].get();
}

pages::PageControls* DeviceMainDlg::pageControls(PageSlot slot) const {
    return m_pageControls[static_cast<std::size_t>(slot)].get();
}

std::vector<std::pair<PageSlot, int>> DeviceMainDlg::refusedControlIds() const {
    std::vector<std::pair<PageSlot, int>> refused;
    for (const std::unique_ptr<pages::PageControls>& controls : m_pageControls) {
        if (!controls)
            continue;
        for (int local : controls->refusedIds())
            refused.emplace_back(controls->slot(), local);
    }
    return refused;
}

void DeviceMainDlg::setTaskObserver(std::function<void(int)> observer) {
    m_taskObserver = std::move(observer);
}

void DeviceMainDlg::queueTask(int code) {
    if (m_taskObserver)
        m_taskObserver(code);
    if (m_worker)
        m_worker->queueTask(code);
}

// --- the pages' host ---

int DeviceMainDlg::currentProfile() const {
    return m_worker ? m_worker->state().currentProfile() : 0;
}

int DeviceMainDlg::currentDeviceType() const {
    return m_worker ? m_worker->state().currentDeviceType() : 0;
}

pages::DeviceValues DeviceMainDlg::deviceValues() const {
    if (!m_worker)
        return {};
    const protocol::SensorState sensor = m_worker->state().sensor();
    return {sensor.sensorId, sensor.rateCapability};
}

bool DeviceMainDlg::idlePolling() const {
    return m_worker && m_worker->state().idlePolling();
}

void DeviceMainDlg::clearReadBackDone() {
    if (m_worker)
        m_worker->state().clearReadBackDone();
}

void DeviceMainDlg::requestMacroDownload(int button) {
    if (m_worker)
        m_worker->state().requestMacroDownload(button);
}

void DeviceMainDlg::setNavigationEnabled(bool enabled) {
    for (int id : {MainControl::Tabs, MainControl::Profile, MainControl::Settings}) {
        if (ui::Control* c = control(id))
            c->setEnabled(enabled);
    }
}

int DeviceMainDlg::showMessage(const QString& text, const QString& title, int style) {
    return m_context.messageBoxes->showMessage(text, this, title, style);
}

protocol::WorkerState& DeviceMainDlg::workerState() const {
    return m_worker->state();
}

bool DeviceMainDlg::connectionShown() const {
    return m_worker && m_worker->state().connectionShown();
}

protocol::WorkerHost& DeviceMainDlg::workerHost() {
    return *m_host;
}

int DeviceMainDlg::readUserValue(const QString& name) const {
    return m_context.userValues->readUserValue(name);
}

bool DeviceMainDlg::trayAvailable() const {
    return m_context.trayAvailable ? m_context.trayAvailable()
                                   : QSystemTrayIcon::isSystemTrayAvailable();
}

// --- start-up ---

bool DeviceMainDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    setCaptionHeight(kCaptionHeight);
    setCaptionMaximises(true);

    const QIcon icon = ui::loadIcon(QStringLiteral("Corvane.ico"));
    setWindowIcon(icon);
    MainTray::Hooks trayHooks;
    trayHooks.bringForward = [this] { bringForward(); };
    trayHooks.exit = [this] { postMessage(ui::Message::Command, MainMessage::TrayExitCommand); };
    trayHooks.pause = [this](bool paused) {
        if (m_follower)
            m_follower->setPaused(paused);
    };
    m_tray = std::make_unique<MainTray>(icon, ui::deviceName(), std::move(trayHooks));
    m_tray->setExitText(uiText(MainText::TrayExit));
    m_tray->setPauseText(uiText(MainText::TrayPause));
    m_tray->show();
    startFocusFollowing();
    startSessionService();

    m_dpiPopup = std::make_unique<pages::DpiMsgDlg>();
    m_dpiPopup->createOver(this);

    m_context.userValues->writeUserValue(kDeviceTypeName, QString::number(kStartDeviceType));
    loadCatalog();

    DeviceChangeWiring::Hooks changeHooks;
    // A removal matters while a device is polled, and while a mouse that could not be
    // opened is shown: its going away ends the message about it.
    changeHooks.idlePolling = [this] {
        return m_worker && (m_worker->state().idlePolling() ||
                            hid::DeviceManager::instance().unopenedInterfaces() > 0);
    };
    changeHooks.queue = [this](int task) { queueTask(task); };
    m_deviceChanges = std::make_unique<DeviceChangeWiring>(m_catalog, std::move(changeHooks));
    if (m_context.virtualDevices)
        m_deviceChanges->watchVirtual(m_context.virtualDevices);
    else if (m_context.watchSystemHotplug)
        m_deviceChanges->watchSystem();

    startWorker();
    return true;
}

void DeviceMainDlg::startWorker() {
    protocol::WorkerConfig config;
    config.exeFolder = m_context.exeFolder;
    config.dataFolder = m_context.dataFolder;
    config.catalog = m_catalog;
    config.delays = m_context.delays;
    config.update = m_context.updates;
    m_worker = std::make_unique<protocol::DeviceWorker>(std::move(config), *m_host);
    m_worker->queueTask(protocol::DeviceTask::DeviceStart);
    m_worker->queueTask(protocol::DeviceTask::CheckProgramVersion);
    m_worker->start();
}

void DeviceMainDlg::stopWorker() {
    // Waits at most 1000 ms for a task in progress; the worker never calls the window
    // once this returned.
    if (m_worker)
        m_worker->stop();
}

// --- messages ---

int DeviceMainDlg::OnWindowMessage(int message, int wParam, int lParam) {
    switch (message) {
    case ui::Message::Close:
        // The desktop's close (title bar menu, Alt+F4) does what the close button does.
        closeButton();
        return 0;
    case ui::Message::Command:
        if (wParam == MainMessage::TrayExitCommand)
            endProgram();
        else if (wParam == MainMessage::AboutCommand)
            AboutDlg::run(this);
        return 0;
    case MainMessage::Quit:
        // From outside: refused while the firmware is being written (nobody is there to
        // read a notice, and the sender can ask again).
        if (lParam == MainMessage::QuitCode && !m_updates->isWritingFirmware())
            endProgram();
        return 0;
    case MainMessage::Retranslate:
        applyTexts();
        break;
    default:
        for (std::size_t i = 0; i < m_pages.size(); ++i) {
            if (m_pages[i] && m_pageBuilt[i] &&
                m_pages[i]->onWindowMessage(message, wParam, lParam))
                return 1;
        }
        // The profile window's commands, unless a page took them.
        if (message == pages::kProfileCommandMessage) {
            profileCommand(wParam, lParam);
            return 1;
        }
        break;
    }
    return ui::Dialog::OnWindowMessage(message, wParam, lParam);
}

int DeviceMainDlg::OnMessage(int controlId, int code, int param1, int param2) {
    if (controlId == MainControl::Tabs) {
        // A choice of a tab (mouse or keyboard); the focus notices of the tab column,
        // now reachable with the keyboard, carry no tab.
        if (code == ui::Notify::Click)
            onTabChanged(param1);
        return 0;
    }
    if (const std::optional<PageSlot> slot = pages::pageOfControl(controlId)) {
        Page* target = page(*slot);
        return target ? target->onMessage(pages::localControlId(controlId), code, param1, param2)
                      : 0;
    }
    if (controlId == MainControl::MousePicture && code == ui::Notify::Click) {
        // The picture's callouts select keys of the button page.
        if (Page* target = page(PageSlot::Buttons))
            target->mouseKeyClicked(param1);
        return 0;
    }
    if (controlId == MainControl::RestoreDefaults) {
        // The restore button belongs to the device settings page.
        Page* target = page(PageSlot::DeviceSettings);
        return target ? target->onMessage(controlId, code, param1, param2) : 0;
    }
    if (code != ui::Notify::Click)
        return 0;

    switch (controlId) {
    case MainControl::Website:
        if (m_context.system && !m_catalog.product.website.isEmpty())
            m_context.system->openUrl(m_catalog.product.website);
        break;
    case MainControl::Close:
        closeButton();
        break;
    case MainControl::Minimise:
        showMinimized();
        break;
    case MainControl::Settings:
        showProgramSettings();
        break;
    case MainControl::Maximise:
        if (isMaximized())
            showNormal();
        else
            showMaximized();
        break;
    case MainControl::Logo:
        AboutDlg::run(this);
        break;
    case MainControl::Profile:
        profileButton();
        break;
    case MainControl::DeviceList:
        selectDevice();
        break;
    case MainControl::PreviousDevices:
    case MainControl::NextDevices:
        if (auto* list = find<ui::DeviceList>(MainControl::DeviceList))
            list->clearSelection();
        break;
    default:
        break;
    }
    return 0;
}

int DeviceMainDlg::OnNcActivate(bool /*active*/) {
    return 0;
}

// --- buttons ---

void DeviceMainDlg::closeButton() {
    switch (closeActionFor(readUserValue(kExitModeName), trayAvailable())) {
    case CloseAction::HideToTray:
        hide();
        break;
    case CloseAction::Minimize:
        showMinimized();
        break;
    case CloseAction::Quit:
        endProgram();
        break;
    }
}

void DeviceMainDlg::profileButton() {
    if (!connectionShown()) {
        m_context.messageBoxes->showMessage(uiText(MainText::NotConnected), this,
                                            uiText(MainText::ProfileCaption),
                                            pages::MessageOneButton);
        return;
    }
    if (m_profileWindowOpener)
        m_profileWindowOpener(profileWindowRect());
    else
        openProfileWindow(profileWindowRect());
}

QRect DeviceMainDlg::profileWindowRect() const {
    const ui::Control* button = control(MainControl::Profile);
    if (!button)
        return {};
    const QPoint topLeft = button->mapToGlobal(QPoint(0, 0));
    return ui::ltrb(topLeft.x(), topLeft.y() - 210, topLeft.x() + button->width(), topLeft.y() - 5);
}

void DeviceMainDlg::setProfileWindowOpener(std::function<void(const QRect&)> opener) {
    m_profileWindowOpener = std::move(opener);
}

void DeviceMainDlg::setAfterDeviceStateHook(std::function<void()> hook) {
    m_afterDeviceState = std::move(hook);
}

void DeviceMainDlg::showSaveWait() {
    m_context.messageBoxes->showSaveWait(this, m_details.showSaveTips);
}

void DeviceMainDlg::showDpiPopup(int dpi) {
    if (m_dpiPopup && m_details.showDpiTips)
        m_dpiPopup->showDpi(dpi);
}

void DeviceMainDlg::bringForward() {
    if (isHidden() || isMinimized())
        showNormal();
    raise();
    activateWindow();
}

// --- pop-ups ---

void DeviceMainDlg::closePopups() {
    enum class Action { Close, CloseSecond, Hide };
    struct PopupRule {
        const char* title;
        Action action;
    };
    static constexpr PopupRule kRules[] = {
        {"CloseWindowTipDlg", Action::Close},
        {"CustomKeyDlg", Action::Close},
        {"ProfileAppsDlg", Action::Close},
        {"WaitDlg", Action::Close},
        {"Menu Window", Action::Close},
        {pages::kMessageBoxTitle, Action::CloseSecond},
        {pages::kPaletteTitle, Action::Close},
        {"KeyboardTip Window", Action::Hide},
        {"ComboWnd", Action::Hide},
        {"PaletteDlg", Action::Hide},
    };
    for (ui::Dialog* window : ui::Dialog::windows()) {
        if (window == this)
            continue;
        for (const PopupRule& rule : kRules) {
            if (window->title() != QLatin1String(rule.title))
                continue;
            if (rule.action == Action::Hide)
                window->hide();
            else
                window->postMessage(ui::Message::Close,
                                    rule.action == Action::CloseSecond ? ui::ResultSecond : 0);
        }
    }
    ui::closePopupMenus();
    m_context.messageBoxes->hideSaveWait();
    forEachPage([](Page& page) { page.closePopups(); });
}

// --- the end ---

void DeviceMainDlg::endProgram() {
    if (m_updates && m_updates->isWritingFirmware()) {
        m_quitAfterFirmware = true;
        if (m_quitNoticeOpen)
            return;
        m_quitNoticeOpen = true;
        m_context.messageBoxes->showMessage(uiText(MainText::FirmwareQuitNotice), this,
                                            uiText(MainText::FirmwareUpgrade),
                                            pages::MessageOneButton);
        m_quitNoticeOpen = false;
        if (m_updates->isWritingFirmware())
            return; // firmwareUpgradeEnded ends the program
    }
    closePopups();
    stopWorker();
    if (m_tray)
        m_tray->hide();
    if (m_context.quit)
        m_context.quit(0);
    else
        DestroyWindow();
}

void DeviceMainDlg::writeFirmwareAgain() {
    m_updates->writeFirmwareAgain();
}

void DeviceMainDlg::firmwareUpgradeEnded(bool succeeded) {
    m_updates->endFirmwareUpgrade(succeeded);
    if (m_quitAfterFirmware && !m_quitNoticeOpen && !m_updates->isWritingFirmware())
        endProgram();
}

void DeviceMainDlg::DestroyWindow() {
    stopWorker();
    if (m_tray)
        m_tray->hide();
    m_deviceChanges.reset();
    m_context.messageBoxes->hideSaveWait();
    m_updates->closeWindows();
    if (m_dpiPopup)
        m_dpiPopup->DestroyWindow();
    ui::Dialog::DestroyWindow();
}

} // namespace corvane::app
