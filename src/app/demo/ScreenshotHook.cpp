#include "app/demo/ScreenshotHook.h"

#include "app/demo/ScreenshotViews.h"
#include "app/start/AppLog.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"
#include "control/requests/AppRuleEdits.h"
#include "focus/ProfileFollower.h"
#include "pages/settings/ProfileAppsDlg.h"
#include "pages/settings/ProfileDlg.h"
#include "store/ProfileDatabase.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <memory>

namespace corvane::app {

bool saveWindowImage(DeviceMainDlg& window, const QString& path) {
    return window.grab().save(path, "PNG");
}

namespace {
// Ends the modal pop-up of this title, if one runs.
void closeModal(const char* title) {
    for (ui::Dialog* shown : ui::Dialog::windows()) {
        if (shown->title() == QLatin1String(title) && shown->isRunningModal())
            shown->endModal(ui::ResultSecond);
    }
}

// The applications dialog of the current profile, with two rules and an application
// that had the focus before Corvane's window.
void openApplicationsDialog(DeviceMainDlg& window) {
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    const int profile = window.currentProfile();
    if (control::profileApps(database, profile).isEmpty()) {
        control::addAppRule(database, profile, QStringLiteral("steam_app_730"));
        control::addAppRule(database, profile, QStringLiteral("blender"));
    }
    // Two applications settle in turn (the follower waits 300 ms for each), so the
    // dialog has a recent one and one used last.
    QPointer<DeviceMainDlg> target(&window);
    const auto focusOn = [target](const QString& app) {
        if (target && target->profileFollower())
            target->profileFollower()->focusChanged({app, {}, {}, 0});
    };
    focusOn(QStringLiteral("firefox"));
    QTimer::singleShot(400, target, [=] { focusOn(QStringLiteral("org.gnome.TextEditor")); });
    QTimer::singleShot(800, target, [=] {
        target->postMessage(pages::kProfileCommandMessage, pages::ProfileApps, profile);
    });
}

void saveScreenImage(const QString& path) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && screen->grabWindow(0).save(path, "PNG"))
        qCInfo(lcApp, "screen saved to %s", qPrintable(path));
    else
        qCWarning(lcApp, "cannot save the screen to %s", qPrintable(path));
}
} // namespace

void installScreenshotHook(DeviceMainDlg& window, int delayMs) {
    const QString path = qEnvironmentVariable("CORVANE_SCREENSHOT");
    if (path.isEmpty())
        return;
    const bool quitAfter = qEnvironmentVariableIntValue("CORVANE_SCREENSHOT_QUIT") == 1;
    // "settings": the program settings page; "profiles": the profile list pop-up; "apps":
    // the applications of the current profile;
    // "performance" and "lighting": those tabs; "buttons", "macros": a binding, a
    // recorded macro.
    const QString view = qEnvironmentVariable("CORVANE_SCREENSHOT_VIEW");
    bool tabGiven = false;
    const int tab = qEnvironmentVariableIntValue("CORVANE_SCREENSHOT_TAB", &tabGiven);
    auto taken = std::make_shared<bool>(false);
    QPointer<DeviceMainDlg> target(&window);
    window.setAfterDeviceStateHook([=] {
        if (*taken)
            return;
        *taken = true;
        QTimer::singleShot(delayMs, target, [=] {
            if (!target)
                return;
            if (tabGiven)
                target->selectTab(tab);
            if (view == u"performance")
                target->selectTab(TabIndex::Performance);
            if (view == u"lighting")
                target->selectTab(TabIndex::Lighting);
            if (view == u"settings")
                target->showProgramSettings();
            if (view == u"profiles") {
                // The pop-up runs modally: the screen (window and pop-up) is saved from
                // inside its run, then the pop-up closes.
                QTimer::singleShot(delayMs, target, [=] {
                    saveScreenImage(path);
                    closeModal(pages::ProfileDlg::kTitle);
                    if (quitAfter && target)
                        target->endProgram();
                });
                target->OnMessage(MainControl::Profile, ui::Notify::Click, 0, 0);
                return;
            }
            if (view == u"apps") {
                QTimer::singleShot(delayMs, target, [=] {
                    saveScreenImage(path);
                    closeModal(pages::kProfileAppsDlgTitle);
                    if (quitAfter && target)
                        target->endProgram();
                });
                openApplicationsDialog(*target);
                return;
            }
            const auto save = [=] {
                if (!target)
                    return;
                if (saveWindowImage(*target, path))
                    qCInfo(lcApp, "window saved to %s", qPrintable(path));
                else
                    qCWarning(lcApp, "cannot save the window to %s", qPrintable(path));
                if (quitAfter)
                    target->endProgram();
            };
            // "buttons" and "macros" play the user's actions first (ScreenshotViews.h).
            if (!prepareScreenshotView(*target, view,
                                       [=] { QTimer::singleShot(delayMs / 3, target, save); }))
                save();
        });
    });
}

} // namespace corvane::app
