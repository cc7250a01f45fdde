// Start-up in its order: display rule, config.xml, single instance, language, folders,
// command line, then the main window until it ends.
#include "app/start/Startup.h"
#include "app/desktop/DesktopIdentity.h"

#include "app/demo/ScreenshotHook.h"
#include "app/demo/VirtualDevices.h"
#include "app/desktop/Autostart.h"
#include "app/desktop/DesktopIntegration.h"
#include "app/desktop/DesktopUrlOpener.h"
#include "app/desktop/ProgramLauncher.h"
#include "app/frame/DpiRule.h"
#include "app/frame/LayoutDirection.h"
#include "app/frame/WindowPolicy.h"
#include "app/start/AppLog.h"
#include "app/start/AppState.h"
#include "app/start/CommandLine.h"
#include "app/start/Folders.h"
#include "app/start/LanguageStartup.h"
#include "app/start/LocaleLcid.h"
#include "app/start/ProcessObjects.h"
#include "app/start/SharedUserValues.h"
#include "app/start/SingleInstance.h"
#include "app/start/UserKey.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainPages.h"
#include "app/window/MainWindowIds.h"
#include "app/window/PageMessageBoxes.h"
#include "app/window/WindowRequests.h"
#include "catalog/DeviceCatalog.h"
#include "catalog/UserDevices.h"
#include "control/local/ProgramFolders.h"
#include "i18n/LanguageTexts.h"
#include "protocol/worker/DeviceWorker.h"
#include "ui/access/Accessibility.h"
#include "ui/access/FocusRing.h"
#include "ui/base/Settings.h"

#include <QApplication>
#include <QScreen>
#include <QSystemTrayIcon>

#include <cmath>
#include <optional>

namespace corvane::app {

namespace {

constexpr int kMdtEffectiveDpi = 96; // the DPI of scale 100 %
// The stop interrupts the mouse traffic, so the worker ends within a read; it is given
// this long beyond the window's own wait before the process ends without it.
constexpr std::chrono::milliseconds kWorkerExitWait{900};

ui::Show showCommandFor(StartAppearance appearance) {
    switch (appearance) {
    case StartAppearance::HiddenInTray:
        return ui::Show::Hide;
    case StartAppearance::Minimized:
        return ui::Show::Minimised;
    case StartAppearance::Shown:
        break;
    }
    return ui::Show::Normal;
}

} // namespace

void logDpiRule() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const qreal ratio = screen->devicePixelRatio();
    const QSize pixels = screen->size() * ratio;
    const int dpi = int(std::lround(screen->logicalDotsPerInchX() * ratio));
    logDpiDecision(pixels.width(), pixels.height(),
                   scaleClassOfDpi(dpi > 0 ? dpi : kMdtEffectiveDpi));
}

void readStartupConfig(const QString& exeFolder) {
    const catalog::StartupInfo info =
        catalog::readStartupInfo(exeFolder + QStringLiteral("/config.xml"));
    std::optional<QString> caption;
    if (info.loaded && !info.caption.isEmpty())
        caption = info.caption;
    applyStartupConfig(appState(), info.loaded ? info.defaultLanguage : std::nullopt,
                       info.languages, caption);
    ui::setDeviceName(appState().deviceName);
}

int runProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    // Hiding the window to the tray must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    ui::installAccessibility();
    ui::installFocusRing();
    AppState& state = appState();

    logDpiRule();
    routeDeviceTrace();
    const QString programFolder = exeFolder();
    readStartupConfig(programFolder);
    QApplication::setApplicationName(state.deviceName);
    // Task bars and Wayland compositors find our icon and launcher entry by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));

    SingleInstance instance(instancePaths(state.deviceName));
    if (instance.start() == SingleInstance::Role::Secondary)
        return 0;

    UserKey userKey = UserKey::forDevice(state.deviceName);
    SharedUserValues userValues(userKey);
    const int lcid = chooseLanguage(state, userValues, userInterfaceLcid());
    i18n::setProgramFolder(programFolder);
    i18n::setCurrentLcid(lcid);
    applyLayoutDirection(lcid);

    ui::setThemeName(state.themeName);
    ui::setSkinFolder(skinFolder());
    ui::setDefaultFontName(QStringLiteral("Open Sans Semibold"));
    ensureDirectory(dataFolder() + QStringLiteral("db"));

    const LaunchOptions options = parseCommandLine(QApplication::arguments());
    VirtualDeviceSet virtualDevices;
    if (options.virtualMouse) {
        virtualDevices = makeVirtualDevices();
        installVirtualDevices(virtualDevices);
        qCInfo(lcApp, "running with the virtual mice");
    }

    PageMessageBoxes messageBoxes;
    SystemProgramLauncher launcher;
    DesktopUrlOpener urlOpener;
    DesktopIntegration system(Autostart(autostartEntryPathFor(configHome(), state.deviceName),
                                        state.deviceName, executablePath(), userValues),
                              launcher, urlOpener, qEnvironmentVariable("XDG_CURRENT_DESKTOP"));

    // Released after the window (declared before it), and before static destruction.
    ProcessObjects shared;
    int exitCode = 0;
    {
        DeviceMainDlg* running = nullptr;
        WindowContext context;
        context.exeFolder = programFolder;
        context.dataFolder = dataFolder();
        context.userDeviceFolder = catalog::userDeviceFolderFor(control::dataHome());
        context.userValues = &userValues;
        context.messageBoxes = &messageBoxes;
        context.system = &system;
        context.virtualDevices = virtualDevices.bus;
        context.quit = [&exitCode, &running](int code) {
            exitCode = code;
            if (running)
                running->DestroyWindow(); // ends the modal run below
        };
        DeviceMainDlg window(std::move(context));
        running = &window;
        addConfigurationPages(window);

        window.create(nullptr, state.deviceName, ui::StylePopup, 0,
                      QRect(0, 0, DeviceMainDlg::kDesignWidth, DeviceMainDlg::kDesignHeight));
        window.centre();
        window.fitToScreen();
        if (protocol::DeviceWorker* worker = window.worker())
            shared.watchWorker(worker->exitWaiter());
        QObject::connect(&instance, &SingleInstance::showRequested, &window, [&window, &instance] {
            // Qt's Wayland windows use (and clear) this token when they
            // ask to be activated.
            if (const QByteArray token = instance.lastActivationToken(); !token.isEmpty())
                qputenv("XDG_ACTIVATION_TOKEN", token);
            window.bringForward();
        });
        QObject::connect(&instance, &SingleInstance::quitRequested, &window, [&window] {
            window.sendMessage(MainMessage::Quit, 0, MainMessage::QuitCode);
        });
        QObject::connect(&instance, &SingleInstance::retranslateRequested, &window,
                         [&window] { window.sendMessage(MainMessage::Retranslate); });
        installScreenshotHook(window);
        // corvanectl's requests run on this window's store and device worker.
        WindowRequests requests(window, programFolder, options.virtualMouse);
        instance.setRequestHandler(
            [&requests](const QByteArray& request, SingleInstance::Reply reply) {
                requests.handle(request, std::move(reply));
            });

        const StartAppearance appearance =
            startAppearanceFor(options.startHidden, QSystemTrayIcon::isSystemTrayAvailable());
        window.runModal(showCommandFor(appearance));

        instance.setRequestHandler({});
        window.DestroyWindow();
        running = nullptr;
    }
    // The device manager and the store go before main returns, once the worker that
    // uses them has ended; a worker that has not is never pulled from under.
    if (!shared.release(kWorkerExitWait)) {
        qCWarning(lcApp, "the device worker did not end; leaving without cleaning up");
        ProcessObjects::endAtOnce(exitCode);
    }
    return exitCode;
}

} // namespace corvane::app
