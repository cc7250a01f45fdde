#include "focus/HyprlandFocusWatcher.h"

#include <QCoreApplication>
#include <QLocalSocket>

namespace corvane::focus {

namespace {
// A line longer than this is not believed: the stream is closed.
constexpr qsizetype kMaxLine = 64 * 1024;
constexpr char kActiveWindow[] = "activewindow>>";
} // namespace

HyprlandFocusWatcher::HyprlandFocusWatcher(QString socketPath, QString ownAppId, QObject* parent)
    : FocusWatcher(parent), m_path(std::move(socketPath)), m_ownAppId(std::move(ownAppId)) {}

HyprlandFocusWatcher::~HyprlandFocusWatcher() = default;

bool HyprlandFocusWatcher::start() {
    delete m_socket;
    m_buffer.clear();
    m_socket = new QLocalSocket(this);
    m_socket->connectToServer(m_path, QIODevice::ReadOnly);
    if (!m_socket->waitForConnected(2000)) {
        delete m_socket;
        m_socket = nullptr;
        return false;
    }
    connect(m_socket, &QLocalSocket::readyRead, this, &HyprlandFocusWatcher::readLines);
    connect(m_socket, &QLocalSocket::disconnected, this, &FocusWatcher::lost);
    return true;
}

void HyprlandFocusWatcher::readLines() {
    m_buffer.append(m_socket->readAll());
    qsizetype end;
    while ((end = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        if (auto app = focusFromLine(line)) {
            if (!m_ownAppId.isEmpty() && app->appId == m_ownAppId)
                app->pid = QCoreApplication::applicationPid();
            emit focused(*app);
        }
    }
    if (m_buffer.size() > kMaxLine)
        m_socket->abort();
}

std::optional<FocusedApp> HyprlandFocusWatcher::focusFromLine(const QByteArray& line) {
    if (!line.startsWith(kActiveWindow))
        return std::nullopt;
    const QByteArray data = line.mid(qsizetype(sizeof kActiveWindow) - 1);
    // A class holds no comma; the title may.
    const qsizetype comma = data.indexOf(',');
    FocusedApp app;
    app.appId = QString::fromUtf8(comma < 0 ? data : data.left(comma));
    if (comma >= 0)
        app.title = QString::fromUtf8(data.mid(comma + 1));
    return app;
}

} // namespace corvane::focus
