// The main window's size on its screen: the interface drawn at the scale that fits the
// screen's available area, again whenever the window moves to another screen.
#include "app/frame/WindowFit.h"
#include "app/window/DeviceMainDlg.h"

#include <QScreen>
#include <QWindow>

namespace corvane::app {

void DeviceMainDlg::fitToScreen() {
    if (!windowHandle())
        winId(); // the native window, so that its screen is known
    QWindow* window = windowHandle();
    if (window && !m_followsScreen) {
        m_followsScreen = true;
        connect(window, &QWindow::screenChanged, this, [this](QScreen*) { fitToScreen(); });
    }
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen)
        return;
    fitToArea(screen->availableGeometry(), screen->devicePixelRatio());
}

void DeviceMainDlg::fitToArea(const QRect& available, double devicePixelRatio) {
    const WindowFit fit =
        fitWindow(QSize(kDesignWidth, kDesignHeight), available.size(), devicePixelRatio);
    setInterfaceScale(fit.scale);
    if (isMaximized())
        return;
    resize(fit.size);
    if (fit.size.width() > available.width() || fit.size.height() > available.height()) {
        // Even the smallest readable scale does not fit: use the whole area.
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    // Keep the window on the area of its screen.
    QRect placed(pos(), fit.size);
    if (!available.contains(placed)) {
        placed.moveCenter(available.center());
        move(placed.topLeft());
    }
}

} // namespace corvane::app
