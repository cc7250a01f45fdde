#pragma once

#include <QDBusConnection>
#include <QString>

namespace corvane::app {

// Desktop notifications through org.freedesktop.Notifications on the session bus. Never
// waits: a desktop without a notification service simply shows nothing.
class DesktopNotifier {
public:
    explicit DesktopNotifier(QDBusConnection bus);

    void notify(const QString& summary, const QString& body, const QString& icon);

private:
    QDBusConnection m_bus;
};

} // namespace corvane::app
