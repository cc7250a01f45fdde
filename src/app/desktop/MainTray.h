#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace corvane::app {

// The tray icon of the main window: its tip is the product name (and a wireless mouse's
// battery), a click or double click brings the window forward, and its menu pauses the
// profile's following of the focused application and ends the program.
class MainTray : public QObject {
public:
    struct Hooks {
        std::function<void()> bringForward;     // a click on the icon
        std::function<void()> exit;             // the menu's last item
        std::function<void(bool paused)> pause; // the checkable pause item
    };

    MainTray(const QIcon& icon, const QString& tip, Hooks hooks, QObject* parent = nullptr);
    ~MainTray() override;

    void show();
    // Removes the icon from the tray.
    void hide();
    bool isShown() const;

    void setExitText(const QString& text);
    QString exitText() const;
    void setPauseText(const QString& text);
    QString tip() const;
    void setTip(const QString& tip);

    // For the tests: the tray icon and the menu's one item.
    QSystemTrayIcon* icon() const { return trayIcon; }
    QAction* exitAction() const { return exitItem; }
    QAction* pauseAction() const { return pauseItem; }

private:
    QSystemTrayIcon* trayIcon;
    QMenu* menu;
    QAction* pauseItem;
    QAction* exitItem;
};

} // namespace corvane::app
