#pragma once
// A private sway compositor for a test: headless, software-rendered, no input devices,
// with its own runtime folder. sway refuses to run as root, so under root it runs as the
// unprivileged user 65534 (root still reaches its sockets). Wayland clients are started
// against it; focus is moved with sway's own IPC commands, as a user's key binding would.

#include "support/WaitUntil.h"

#include <QByteArray>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <vector>

namespace corvane::test {

class HeadlessSway {
public:
    // Only catches a hang: a first Wayland client on a fresh machine builds its font
    // cache, which takes long under the sanitizers.
    static constexpr int kHang = 60000;
    static constexpr uid_t kUnprivileged = 65534;

    static bool installed() { return !QStandardPaths::findExecutable("sway").isEmpty(); }

    // Starts sway; false (with the reason in error()) when it does not come up.
    bool start() {
        if (!m_scratch.isValid())
            return fail("no scratch folder");
        const QString runtime = m_scratch.filePath(QStringLiteral("runtime"));
        const QString config = m_scratch.filePath(QStringLiteral("config"));
        QDir().mkpath(runtime);
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return fail("cannot write the config");
        file.write("xwayland disable\noutput HEADLESS-1 resolution 640x480\n");
        file.close();
        ::chmod(m_scratch.path().toLocal8Bit().constData(), 0755);
        ::chmod(config.toLocal8Bit().constData(), 0644);
        ::chmod(runtime.toLocal8Bit().constData(), 0700);
        const bool root = ::geteuid() == 0;
        if (root && ::chown(runtime.toLocal8Bit().constData(), kUnprivileged, kUnprivileged) != 0)
            return fail("cannot give the runtime folder to the unprivileged user");

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"WAYLAND_DISPLAY", "SWAYSOCK", "I3SOCK", "DISPLAY"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
        env.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
        env.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
        env.insert(QStringLiteral("HOME"), m_scratch.path());
        m_sway.setProcessEnvironment(env);
        m_sway.setProcessChannelMode(QProcess::MergedChannels);
        const QString sway = QStandardPaths::findExecutable(QStringLiteral("sway"));
        if (root) {
            m_sway.start(QStandardPaths::findExecutable(QStringLiteral("setpriv")),
                         {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                          QStringLiteral("--clear-groups"), sway, QStringLiteral("-c"), config});
        } else {
            m_sway.start(sway, {QStringLiteral("-c"), config});
        }
        if (!m_sway.waitForStarted(kHang))
            return fail("sway did not start");
        // Both sockets appear once sway is ready for clients.
        QDir dir(runtime);
        const bool ready = waitUntil(
            [&] {
                const QStringList ipc =
                    dir.entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
                const QStringList wayland =
                    dir.entryList({QStringLiteral("wayland-?")}, QDir::System);
                if (ipc.isEmpty() || wayland.isEmpty())
                    return m_sway.state() == QProcess::NotRunning ? true : false;
                m_ipc = dir.filePath(ipc.first());
                m_wayland = dir.filePath(wayland.first());
                return true;
            },
            kHang);
        if (!ready || m_ipc.isEmpty())
            return fail("sway did not open its sockets: " + m_sway.readAll());
        if (!waitForOutput())
            return fail("sway made no output: " + m_sway.readAll());
        return true;
    }

    ~HeadlessSway() {
        for (auto& client : m_clients) {
            client->terminate();
            client->waitForFinished(kHang);
        }
        m_sway.terminate();
        m_sway.waitForFinished(kHang);
    }

    QString ipcSocket() const { return m_ipc; }
    // The Wayland socket's path, for WAYLAND_DISPLAY.
    QString waylandSocket() const { return m_wayland; }

    // Ends sway, as a compositor that exits: every client's connection closes.
    void stop() {
        m_sway.terminate();
        m_sway.waitForFinished(kHang);
    }
    QByteArray error() const { return m_error; }

    // A Wayland client with one window (the test window program), app id and title given.
    bool startClient(const QString& program, const QString& appId, const QString& title) {
        auto client = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        // An absolute WAYLAND_DISPLAY names the socket itself.
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), m_wayland);
        env.remove(QStringLiteral("DISPLAY"));
        client->setProcessEnvironment(env);
        client->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        client->start(program, {appId, title});
        if (!client->waitForStarted(kHang))
            return false;
        m_clients.push_back(std::move(client));
        return true;
    }

    // Runs one sway command ("[app_id=x] focus") over IPC; true when sway did it.
    bool command(const QByteArray& text) {
        const QByteArray reply = ask(kRunCommand, text);
        return reply.contains("\"success\": true") || reply.contains("\"success\":true");
    }

    // Waits until sway has an active output and then until a window with `appId` is in
    // its tree (a client that connects before the output exists is mapped later).
    bool waitForOutput() {
        return waitUntil([&] { return ask(kGetOutputs, {}).contains("\"active\": true"); }, kHang);
    }
    bool waitForWindow(const QString& appId) {
        const QByteArray wanted = "\"app_id\": \"" + appId.toUtf8() + '"';
        return waitUntil([&] { return ask(kGetTree, {}).contains(wanted); }, kHang);
    }

private:
    static constexpr quint32 kRunCommand = 0;
    static constexpr quint32 kGetOutputs = 3;
    static constexpr quint32 kGetTree = 4;

    // One i3-ipc message and its reply's payload (empty when sway did not answer):
    // magic, payload length and message type, in host order, then the payload.
    QByteArray ask(quint32 type, const QByteArray& payload) {
        QLocalSocket socket;
        socket.connectToServer(m_ipc);
        if (!socket.waitForConnected(kHang))
            return {};
        QByteArray message("i3-ipc");
        const quint32 header[2] = {quint32(payload.size()), type};
        message.append(reinterpret_cast<const char*>(header), sizeof header);
        message.append(payload);
        socket.write(message);
        if (!socket.waitForBytesWritten(kHang))
            return {};
        QByteArray reply;
        while (reply.size() < 14 && socket.waitForReadyRead(kHang))
            reply += socket.readAll();
        if (reply.size() < 14)
            return {};
        quint32 length = 0;
        std::memcpy(&length, reply.constData() + 6, sizeof length);
        while (reply.size() < qsizetype(14 + length) && socket.waitForReadyRead(kHang))
            reply += socket.readAll();
        return reply.mid(14);
    }

    bool fail(const QByteArray& why) {
        m_error = why;
        return false;
    }

    QTemporaryDir m_scratch;
    QProcess m_sway;
    QString m_ipc;
    QString m_wayland;
    QByteArray m_error;
    std::vector<std::unique_ptr<QProcess>> m_clients;
};

} // namespace corvane::test
