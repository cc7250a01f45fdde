#pragma once
// A private D-Bus session bus for a test (its own dbus-daemon), connections to it, and
// calls that keep the test's event loop running while they wait, so a service living on
// the test's own thread can answer them.

#include "support/WaitUntil.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace corvane::test {

class PrivateBus {
public:
    static constexpr int kHang = 10000; // only catches a hang

    static bool installed() { return !QStandardPaths::findExecutable("dbus-daemon").isEmpty(); }

    bool start() {
        m_daemon.start(QStandardPaths::findExecutable("dbus-daemon"),
                       {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        if (!m_daemon.waitForStarted(kHang) ||
            !waitUntil([&] { return m_daemon.canReadLine(); }, kHang))
            return false;
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        return !m_address.isEmpty();
    }

    ~PrivateBus() {
        for (const QString& name : m_names)
            QDBusConnection::disconnectFromBus(name);
        m_daemon.terminate();
        m_daemon.waitForFinished(kHang);
    }

    QString address() const { return m_address; }

    // A connection of its own to the bus (each is a peer with its own unique name).
    QDBusConnection connect(const QString& name) {
        m_names << name;
        return QDBusConnection::connectToBus(m_address, name);
    }

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_names;
};

// Sends call on bus and runs the event loop until the answer (or an error) came.
inline QDBusMessage callAndWait(const QDBusConnection& bus, const QDBusMessage& call) {
    QDBusPendingCall pending = bus.asyncCall(call);
    if (!waitUntil([&] { return pending.isFinished(); }, PrivateBus::kHang))
        return QDBusMessage::createError(QStringLiteral("test.Hang"), QStringLiteral("no answer"));
    return pending.reply();
}

} // namespace corvane::test
