#include "app/ScreenshotHook.h"

#include "app/AppLog.h"
#include "app/DeviceMainDlg.h"

#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace corvane::app {

bool saveWindowImage(DeviceMainDlg& window, const QString& path) {
    return window.grab().save(path, "PNG");
}

void installScreenshotHook(DeviceMainDlg& window, int delayMs) {
    const QString path = qEnvironmentVariable("CORVANE_SCREENSHOT");
    if (path.isEmpty())
        return;
    const bool quitAfter = qEnvironmentVariableIntValue("CORVANE_SCREENSHOT_QUIT") == 1;
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
            if (saveWindowImage(*target, path))
                qCInfo(lcApp, "window saved to %s", qPrintable(path));
            else
                qCWarning(lcApp, "cannot save the window to %s", qPrintable(path));
            if (quitAfter)
                target->endProgram();
        });
    });
}

} // namespace corvane::app
