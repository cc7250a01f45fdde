#include "app/demo/ScreenshotHook.h"

#include "app/demo/ScreenshotViews.h"
#include "app/start/AppLog.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"

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
    // "settings": the program settings page; "profiles": the profile list pop-up;
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
                    for (ui::Dialog* shown : ui::Dialog::windows()) {
                        if (shown->title() == u"ProfileDlg" && shown->isRunningModal())
                            shown->endModal(ui::ResultSecond);
                    }
                    if (quitAfter && target)
                        target->endProgram();
                });
                target->OnMessage(MainControl::Profile, ui::Notify::Click, 0, 0);
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
