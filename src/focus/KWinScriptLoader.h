#pragma once

#include "focus/FocusWatcher.h"

#include <QDBusConnection>

namespace corvane::focus {

// KDE Plasma: KWin keeps the focus to itself, so Corvane loads a small script into it
// (org.kde.KWin /Scripting: loadScript, then start) that calls the session-bus service's
// ReportFocus on every activation. This watcher only loads the script; the reports come
// in through the service, not through its focused() signal.
class KWinScriptLoader : public FocusWatcher {
    Q_OBJECT
public:
    static const QString kPluginName;

    KWinScriptLoader(QString scriptPath, QDBusConnection bus, QObject* parent = nullptr);

    // False when the script file is missing or KWin is not on the bus; the loading itself
    // goes on asynchronously (loaded() or lost() tell how it went).
    bool start() override;
    QString name() const override { return QStringLiteral("kwin"); }

signals:
    // KWin took the script and started it.
    void loaded();

private:
    void call(const QString& method, const QVariantList& args,
              std::function<void(const QDBusMessage& reply)> then);

    QString m_script;
    QDBusConnection m_bus;
};

} // namespace corvane::focus
