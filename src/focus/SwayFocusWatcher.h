#pragma once

#include "focus/FocusWatcher.h"

#include <QByteArray>

#include <optional>

class QLocalSocket;

namespace corvane::focus {

// sway and i3: their IPC socket ($SWAYSOCK, $I3SOCK). After subscribing to "window"
// events, every message with change "focus" names the focused container: its app_id
// (Wayland) or window_properties class and instance (X11), its pid and its name.
class SwayFocusWatcher : public FocusWatcher {
    Q_OBJECT
public:
    explicit SwayFocusWatcher(QString socketPath, QObject* parent = nullptr);
    ~SwayFocusWatcher() override;

    bool start() override;
    QString name() const override { return QStringLiteral("sway"); }

    // One window event's payload as the focused application; nothing when the event is
    // not a focus change (or not readable).
    static std::optional<FocusedApp> focusFromEvent(const QByteArray& payload);

private:
    void readMessages();

    QString m_path;
    QLocalSocket* m_socket = nullptr;
    QByteArray m_buffer;
};

} // namespace corvane::focus
