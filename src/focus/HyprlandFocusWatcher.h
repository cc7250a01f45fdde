#pragma once

#include "focus/FocusWatcher.h"

#include <QByteArray>

#include <optional>

class QLocalSocket;

namespace corvane::focus {

// Hyprland: its event socket (.socket2.sock in the instance's folder) sends one line per
// event; "activewindow>>CLASS,TITLE" tells the focus moved. Read only: the command socket
// is never opened. The line names no process: the window whose class is ownAppId (the
// app id Qt gives our own window) is reported with our pid, so it is known as ours.
class HyprlandFocusWatcher : public FocusWatcher {
    Q_OBJECT
public:
    explicit HyprlandFocusWatcher(QString socketPath, QString ownAppId = {},
                                  QObject* parent = nullptr);
    ~HyprlandFocusWatcher() override;

    bool start() override;
    QString name() const override { return QStringLiteral("hyprland"); }

    // One event line (without its line break) as the focused application; nothing when
    // it is another event.
    static std::optional<FocusedApp> focusFromLine(const QByteArray& line);

private:
    void readLines();

    QString m_path;
    QString m_ownAppId;
    QLocalSocket* m_socket = nullptr;
    QByteArray m_buffer;
};

} // namespace corvane::focus
