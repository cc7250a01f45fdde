#include "focus/KWinScriptLoader.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QLoggingCategory>

namespace corvane::focus {

namespace {
Q_LOGGING_CATEGORY(lcKWin, "corvane.focus.kwin")
const QString kKWin = QStringLiteral("org.kde.KWin");
const QString kScriptingPath = QStringLiteral("/Scripting");
const QString kScriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
} // namespace

const QString KWinScriptLoader::kPluginName = QStringLiteral("corvane-focus");

KWinScriptLoader::KWinScriptLoader(QString scriptPath, QDBusConnection bus, QObject* parent)
    : FocusWatcher(parent), m_script(std::move(scriptPath)), m_bus(std::move(bus)) {}

void KWinScriptLoader::call(const QString& method, const QVariantList& args,
                            std::function<void(const QDBusMessage&)> then) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kKWin, kScriptingPath, kScriptingInterface, method);
    message.setArguments(args);
    // Asynchronous: the window never waits for KWin.
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, then = std::move(then)] {
        watcher->deleteLater();
        then(watcher->reply());
    });
}

bool KWinScriptLoader::start() {
    if (!QFileInfo(m_script).isFile() || !m_bus.isConnected() || !m_bus.interface() ||
        !m_bus.interface()->isServiceRegistered(kKWin).value())
        return false;
    // A script of ours from an earlier run stays loaded in KWin: unload it first (an
    // error here only means there was none), so the file on disk is the one that runs.
    call(QStringLiteral("unloadScript"), {kPluginName}, [this](const QDBusMessage&) {
        call(QStringLiteral("loadScript"), {m_script, kPluginName},
             [this](const QDBusMessage& reply) {
                 if (reply.type() != QDBusMessage::ReplyMessage ||
                     reply.arguments().value(0).toInt() < 0) {
                     qCInfo(lcKWin) << "KWin refused the focus script:" << reply.errorMessage();
                     emit lost();
                     return;
                 }
                 call(QStringLiteral("start"), {}, [this](const QDBusMessage& started) {
                     if (started.type() == QDBusMessage::ReplyMessage)
                         emit loaded();
                     else
                         emit lost();
                 });
             });
    });
    return true;
}

} // namespace corvane::focus
