#include "app/desktop/DesktopNotifier.h"

#include "app/desktop/DesktopIdentity.h"

#include <QDBusMessage>
#include <QVariantMap>

namespace corvane::app {

namespace {
constexpr int kDefaultTimeout = -1; // the desktop's own
}

DesktopNotifier::DesktopNotifier(QDBusConnection bus) : m_bus(std::move(bus)) {}

void DesktopNotifier::notify(const QString& summary, const QString& body, const QString& icon) {
    if (!m_bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopFileName)},
        {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout
    call << QStringLiteral("Corvane") << uint(0) << icon << summary << body << QStringList()
         << hints << kDefaultTimeout;
    m_bus.send(call); // the id it answers is not needed
}

} // namespace corvane::app
