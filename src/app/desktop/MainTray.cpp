#include "app/desktop/MainTray.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace corvane::app {

namespace {
// The tray's tip holds at most this many characters.
constexpr int kTipLength = 127;
} // namespace

MainTray::MainTray(const QIcon& icon, const QString& tip, Hooks hooks, QObject* parent)
    : QObject(parent), trayIcon(new QSystemTrayIcon(icon, this)), menu(new QMenu),
      pauseItem(menu->addAction(QString())), exitItem(nullptr) {
    pauseItem->setCheckable(true);
    menu->addSeparator();
    exitItem = menu->addAction(QString());
    connect(pauseItem, &QAction::toggled, this, [pause = hooks.pause](bool paused) {
        if (pause)
            pause(paused);
    });
    trayIcon->setToolTip(tip.left(kTipLength));
    // Where the desktop hosts StatusNotifierItems, the menu is exported as it is and
    // the right-click never reaches us; the item works the same either way.
    trayIcon->setContextMenu(menu);
    connect(exitItem, &QAction::triggered, this, [exit = hooks.exit] {
        if (exit)
            exit();
    });
    connect(
        trayIcon, &QSystemTrayIcon::activated, this,
        [forward = hooks.bringForward](QSystemTrayIcon::ActivationReason reason) {
            if ((reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) &&
                forward)
                forward();
        });
}

MainTray::~MainTray() {
    trayIcon->hide();
    delete menu;
}

void MainTray::show() {
    trayIcon->show();
}

void MainTray::hide() {
    trayIcon->hide();
}

bool MainTray::isShown() const {
    return trayIcon->isVisible();
}

void MainTray::setExitText(const QString& text) {
    exitItem->setText(text);
}

QString MainTray::exitText() const {
    return exitItem->text();
}

void MainTray::setPauseText(const QString& text) {
    pauseItem->setText(text);
}

void MainTray::setTip(const QString& tip) {
    trayIcon->setToolTip(tip.left(kTipLength));
}

QString MainTray::tip() const {
    return trayIcon->toolTip();
}

} // namespace corvane::app
