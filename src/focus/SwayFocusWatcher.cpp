#include "focus/SwayFocusWatcher.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <cstring>

namespace corvane::focus {

namespace {
// i3's IPC: "i3-ipc", a 32-bit payload length and a 32-bit message type, both in the
// machine's byte order, then the payload. Events have the top bit of the type set.
constexpr char kMagic[] = "i3-ipc";
constexpr int kMagicLength = 6;
constexpr int kHeaderLength = kMagicLength + 8;
constexpr quint32 kSubscribe = 2;
constexpr quint32 kWindowEvent = 0x80000003u;
// A message longer than this is not believed: the stream is closed.
constexpr quint32 kMaxPayload = 16u * 1024 * 1024;

QByteArray message(quint32 type, const QByteArray& payload) {
    QByteArray bytes(kMagic, kMagicLength);
    const quint32 length = quint32(payload.size());
    bytes.append(reinterpret_cast<const char*>(&length), 4);
    bytes.append(reinterpret_cast<const char*>(&type), 4);
    return bytes + payload;
}
} // namespace

SwayFocusWatcher::SwayFocusWatcher(QString socketPath, QObject* parent)
    : FocusWatcher(parent), m_path(std::move(socketPath)) {}

SwayFocusWatcher::~SwayFocusWatcher() = default;

bool SwayFocusWatcher::start() {
    delete m_socket;
    m_buffer.clear();
    m_socket = new QLocalSocket(this);
    m_socket->connectToServer(m_path);
    if (!m_socket->waitForConnected(2000)) {
        delete m_socket;
        m_socket = nullptr;
        return false;
    }
    connect(m_socket, &QLocalSocket::readyRead, this, &SwayFocusWatcher::readMessages);
    connect(m_socket, &QLocalSocket::disconnected, this, &FocusWatcher::lost);
    m_socket->write(message(kSubscribe, R"(["window"])"));
    m_socket->flush();
    return true;
}

void SwayFocusWatcher::readMessages() {
    m_buffer.append(m_socket->readAll());
    while (m_buffer.size() >= kHeaderLength) {
        if (!m_buffer.startsWith(QByteArray(kMagic, kMagicLength))) {
            m_socket->abort();
            return;
        }
        quint32 length = 0;
        quint32 type = 0;
        std::memcpy(&length, m_buffer.constData() + kMagicLength, 4);
        std::memcpy(&type, m_buffer.constData() + kMagicLength + 4, 4);
        if (length > kMaxPayload) {
            m_socket->abort();
            return;
        }
        if (m_buffer.size() < kHeaderLength + qsizetype(length))
            return;
        const QByteArray payload = m_buffer.mid(kHeaderLength, length);
        m_buffer.remove(0, kHeaderLength + length);
        if (type == kWindowEvent) {
            if (const auto app = focusFromEvent(payload))
                emit focused(*app);
        }
    }
}

std::optional<FocusedApp> SwayFocusWatcher::focusFromEvent(const QByteArray& payload) {
    const QJsonObject event = QJsonDocument::fromJson(payload).object();
    if (event.value(u"change").toString() != u"focus")
        return std::nullopt;
    const QJsonObject container = event.value(u"container").toObject();
    FocusedApp app;
    app.appId = container.value(u"app_id").toString();
    const QJsonObject x11 = container.value(u"window_properties").toObject();
    if (app.appId.isEmpty())
        app.appId = x11.value(u"class").toString();
    app.instance = x11.value(u"instance").toString();
    app.title = container.value(u"name").toString();
    app.pid = qint64(container.value(u"pid").toDouble());
    if (app.pid < 0)
        app.pid = 0;
    return app;
}

} // namespace corvane::focus
