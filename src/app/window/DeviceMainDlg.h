#pragma once
// app/window: the main window in its parts, its host for the worker and corvanectl requests.
// The program's one top-level window: caption with title, version and system buttons,
// the home page with the device list, the tab column of the configuration pages, the
// tray icon, and the device worker that talks to the mice.

#include "app/window/WindowContext.h"
#include "catalog/DeviceCatalog.h"
#include "catalog/DeviceDetails.h"
#include "control/requests/Session.h"
#include "pages/host/Page.h"
#include "pages/host/PageHost.h"
#include "protocol/worker/WorkerHost.h"
#include "ui/base/Dialog.h"

#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace corvane::protocol {
class DeviceWorker;
class WorkerState;
} // namespace corvane::protocol

namespace corvane::ui {
class Panel;
}

namespace corvane::pages {
class DpiMsgDlg;
class KeyCapture;
class PageControls;
class UpdateFlow;
class FileDialogs;
class ProfileDlg;
} // namespace corvane::pages

namespace corvane::focus {
struct FocusedApp;
class FocusWatcher;
class ProfileFollower;
} // namespace corvane::focus

namespace corvane::bus {
class SessionService;
}

namespace corvane::app {

class BatteryAlerts;
class DesktopNotifier;
class DeviceChangeWiring;
class MainTray;
class ProgramLauncher;
class WindowHost;

using pages::kPageSlotCount;
using pages::Page;
using pages::PageSlot;

// The window is the pages' host: what they ask of it is declared in pages/host/PageHost.h.
class DeviceMainDlg : public ui::Dialog, public pages::PageHost {
public:
    // The design size of the window.
    static constexpr int kDesignWidth = 1300;
    static constexpr int kDesignHeight = 788;

    explicit DeviceMainDlg(WindowContext context);
    ~DeviceMainDlg() override;

    // --- pages (before create) ---
    // Gives the page of a slot its place; the window lets it create its controls in its
    // container during InitUI, in slot order. False once the window exists. A page is
    // made with the window as its host (pageHost()).
    bool addPage(PageSlot slot, std::unique_ptr<Page> page);
    Page* page(PageSlot slot) const;
    // A page's controls are made when the page is first shown (or asked for here): its
    // texts, layout and what the window knows by then (device details, the store through
    // reload, the last update statuses) are given to it at once. Until then the window
    // tells it nothing. False for a slot without a page.
    bool buildPage(PageSlot slot);
    bool isPageBuilt(PageSlot slot) const;
    // buildPage for the page of a tab item (none for the home tab).
    void buildPageOfTab(int itemId);
    pages::PageHost& pageHost() { return *this; }
    // The container of a slot (the buttons page also has an inner panel, 51).
    ui::Panel* pageContainer(PageSlot slot) const;
    // A page's controls, null before the window was created.
    pages::PageControls* pageControls(PageSlot slot) const;
    // Every control number a page's add was refused, as (slot, number); empty when each
    // page got every control it asked for.
    std::vector<std::pair<PageSlot, int>> refusedControlIds() const;
    ui::Panel* homeContainer() const;
    ui::Panel* buttonsInnerPanel() const;
    // Told of every task code queued through the window (tests watch the queue).
    void setTaskObserver(std::function<void(int code)> observer);

    // --- device work ---
    void queueTask(int code) override;
    // Null before the window was created.
    protocol::DeviceWorker* worker() const { return m_worker.get(); }
    // The flags both threads read (idle polling, connection shown, current type and
    // profile). Only valid while worker() is set.
    protocol::WorkerState& workerState() const;
    bool connectionShown() const override;
    // The host the device worker calls, from its own thread.
    protocol::WorkerHost& workerHost();
    // The update offers and progress windows, and what the settings pages show and do
    // about updates (status lines 246 and 275, buttons 248 and 276).
    pages::UpdateFlow& updates() { return *m_updates; }

    // --- what the user sees ---
    // The device list was clicked: settle the chosen type, or say that it is not attached.
    void selectDevice();
    // Closes the transient pop-ups: message boxes (with their second result), menus,
    // combo lists, the saving wait window; lets each page close what it opened.
    void closePopups();
    // The saving wait window, when the current device asks for it.
    void showSaveWait() override;
    void showDpiPopup(int dpi) override;
    // The DPI pop-up, made hidden when the window starts.
    pages::DpiMsgDlg* dpiPopup() const { return m_dpiPopup.get(); }
    // Tab change as if the tab at `index` was clicked.
    void selectTab(int index);
    int lastTab() const { return m_lastTab; }
    // The home page with the device list, tab column hidden.
    void showHomeView();
    // The tab column and the buttons page, with the mouse picture, device state text and
    // the profile and restore buttons.
    void showConfigurationView();
    // A mouse waits in its bootloader: the tab column and the device settings page, where
    // its firmware is offered again (the other tabs stay reachable).
    void showFirmwareRecoveryView();
    // The program settings page in place of the tabs (the caption's settings button).
    void showProgramSettings();
    bool isProgramSettingsShown() const;
    // Brings the window forward from the tray or another start.
    void bringForward();
    // Draws the window at the scale that fits the available area of its screen, now and
    // whenever it moves to another screen (MainFit.cpp).
    void fitToScreen();
    // The same for an area in logical pixels of a screen with that pixel ratio.
    void fitToArea(const QRect& available, double devicePixelRatio);

    // --- texts ---
    // Makes lcid the language in use (stored as "LCID") and applies every text again.
    void setLanguage(int lcid) override;
    // Fonts and texts of the window and of every page, from the language in use.
    void applyTexts();

    // --- catalog ---
    const catalog::DeviceCatalog& deviceCatalog() const override { return m_catalog; }
    const catalog::DeviceDetails& deviceDetails() const override { return m_details; }
    // The version line: "<text 17>: v<version>".
    QString versionLine() const;
    int connectionTextId() const { return m_connectionText; }
    double uiScale() const override { return m_uiScale; }

    // --- the rest of the pages' host ---
    int currentProfile() const override;
    int currentDeviceType() const override;
    QString exeFolder() const override { return m_context.exeFolder; }
    pages::DeviceValues deviceValues() const override;
    bool idlePolling() const override;
    void clearReadBackDone() override;
    void writeFirmwareAgain() override;
    void requestMacroDownload(int button) override;
    int showMessage(const QString& text, const QString& title, int style) override;
    pages::KeyCapture& keyCapture() override { return *m_keyCapture; }
    pages::FileDialogs& fileDialogs() override;
    void setNavigationEnabled(bool enabled) override;
    pages::UserValues& userValues() override { return *m_context.userValues; }
    pages::SystemIntegration* systemIntegration() override { return m_context.system; }
    QWidget* mainWindow() override { return this; }
    std::vector<int> offeredLanguages() const override;
    void leaveProgramSettings() override;

    // The exit paths (close button, tray menu, "quit" from outside): the worker is
    // stopped, the tray icon removed, then the context's quit action runs with 0. While
    // the firmware is being written the end is held back, with a notice, until the
    // upgrade ended.
    void endProgram();
    // The worker's end of a firmware upgrade: the progress window learns it, and an end
    // of the program held back meanwhile goes ahead.
    void firmwareUpgradeEnded(bool succeeded);
    MainTray* tray() const { return m_tray.get(); }
    // Where the profile window (opened by the profile button while a device is usable)
    // goes, in screen coordinates: just above the button.
    QRect profileWindowRect() const;
    // Replaces the profile list pop-up (pages::ProfileDlg) that opens by default.
    void setProfileWindowOpener(std::function<void(const QRect& screenRect)> opener);
    // Runs on the UI thread after each device state the worker reported (start-up uses
    // it for its screenshot switch).
    void setAfterDeviceStateHook(std::function<void()> hook);

    // --- hooks ---
    int OnWindowMessage(int message, int wParam, int lParam) override;
    bool OnInitDialog() override;
    void InitUI(const QRect& client) override;
    void UISize(const QRect& client) override;
    int OnMessage(int controlId, int code, int param1, int param2) override;
    int OnNcActivate(bool active) override;
    void DestroyWindow() override;

private:
    class UiSide;
    friend class UiSide;

    // MainControls.cpp
    void createMainControls(const QRect& client);
    void createHomePage();
    void createTabs();
    void layoutMainControls(const QRect& client);
    void layoutHomePage(const QRect& client);
    void placeMousePicture(const QRect& client);
    QRect pageArea(const QRect& client) const;
    // MainViews.cpp
    void onTabChanged(int index);
    void showPageOfTab(int itemId);
    void setTabColumnShown(bool shown);
    void setSystemButtonsShown(bool shown);
    void relayout();
    // MainCatalog.cpp
    void loadCatalog();
    void showDeviceDetails(const catalog::DeviceDetails& details);
    // MainWorkerView.cpp: the worker's reports, on the UI thread
    void showDeviceState(const protocol::DeviceStateView& view);
    void refreshPages(unsigned pages);
    void showProfileName(const QString& title);
    void showBattery(int deviceType, int level, int status);
    void showConnectionText(int textId);
    void setDeviceState(int deviceType, int mode, int onlineState);
    // Each page that exists, in slot order.
    void forEachPage(const std::function<void(Page&)>& f);
    // DeviceMainDlg.cpp
    void closeButton();
    void profileButton();
    void startWorker();
    void stopWorker();
    int readUserValue(const QString& name) const;
    bool trayAvailable() const;

    WindowContext m_context;
    std::array<std::unique_ptr<Page>, kPageSlotCount> m_pages;
    std::array<std::unique_ptr<pages::PageControls>, kPageSlotCount> m_pageControls;
    std::array<bool, kPageSlotCount> m_pageBuilt{};
    bool m_detailsShown = false; // a device description was shown (m_details)
    std::unique_ptr<pages::KeyCapture> m_keyCapture;
    std::unique_ptr<pages::DpiMsgDlg> m_dpiPopup;
    std::function<void(int)> m_taskObserver;
    catalog::DeviceCatalog m_catalog;
    catalog::DeviceDetails m_details;
    std::unique_ptr<UiSide> m_uiSide;
    std::unique_ptr<WindowHost> m_host;
    std::unique_ptr<protocol::DeviceWorker> m_worker;
    std::unique_ptr<MainTray> m_tray;
    std::unique_ptr<DeviceChangeWiring> m_deviceChanges;
    std::unique_ptr<ProgramLauncher> m_systemLauncher;
    std::unique_ptr<pages::UpdateFlow> m_updates;
    std::function<void(const QRect&)> m_profileWindowOpener;
    std::function<void()> m_afterDeviceState;
    QString m_profileTitle;
    QString m_fontNames[2];
    int m_lastTab = 1;
    int m_connectionText = 50;
    // An end of the program waits for the firmware upgrade; its notice is open.
    bool m_quitAfterFirmware = false;
    bool m_quitNoticeOpen = false;
    bool m_noPermission = false; // the last scan could open no mouse it saw
    double m_uiScale = 1.0;
    bool m_followsScreen = false;
    // MainProfiles.cpp: the profile list pop-up and its commands (message 1705).
    void openProfileWindow(const QRect& screenRect);
    bool profileCommand(int command, int profile);
    void switchProfile(int profile);
    void importProfileFile();
    void exportProfileFile(int profile);
    // The applications a profile is for ("Use for applications…").
    void openProfileApps(int profile);
    // An application that held the focus, for the dialog's recent applications.
    void rememberFocusedApp(const focus::FocusedApp& app);
    QStringList m_recentApps; // most recent first
    QPointer<pages::ProfileDlg> m_profileDlg;
    std::unique_ptr<pages::FileDialogs> m_ownFileDialogs;

    // MainFocus.cpp: the profile follows the focused application.
    void startFocusFollowing();
    bool pageHoldsProfile() const;
    std::unique_ptr<focus::FocusWatcher> m_focusWatcher;
    std::unique_ptr<focus::ProfileFollower> m_follower;
    // Set by the first ReportFocus: from then on the desktop's own script or extension is
    // the one source of focus changes, and the watcher's reports are dropped.
    bool m_focusFromBus = false;
    void takeFocusFromBus();

    // MainService.cpp: the session-bus service and what its properties show.
    void startSessionService();
    void stopSessionService();
    void publishServiceState();
    std::unique_ptr<bus::SessionService> m_service;
    // The tray's tip and the low-battery notifications (on the service's bus).
    void showBatteryOnDesktop(int deviceType, int level, int status);
    std::unique_ptr<DesktopNotifier> m_notifier;
    std::unique_ptr<BatteryAlerts> m_batteryAlerts;
    // The attached mice as the worker last reported them.
    std::vector<protocol::DeviceListEntry> m_attached;

public:
    // The follower of the focused application, fed by the session's watcher (when one
    // fits) and by ReportFocus on the session bus.
    focus::ProfileFollower* profileFollower() const { return m_follower.get(); }
    // What the window sees as focused now and the profile a rule names for it
    // (corvanectl focus).
    control::FocusView focusView() const;
    // Null when publishing is turned off.
    bus::SessionService* sessionService() const { return m_service.get(); }
};

} // namespace corvane::app
