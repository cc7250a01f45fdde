#pragma once
// pages/keys: keys typed into the program: capture, decoding into key codes, key tables.
// Key capture: while a capture runs, every key event of the program's windows is taken
// before any control sees it (nothing is typed, no shortcut fires), decoded into an
// InputEvent and handed to the consumer of the capture mode. While no capture runs, keys
// reach the controls as usual. UI thread only.
//
// A field that captures one key (modes 10 and 12) must not keep a keyboard user in it:
// the first Tab pressed into it is captured like any key, but once the field holds a key,
// Tab and Shift+Tab leave it (the field's focus loss then ends the capture).

#include "pages/keys/InputEvent.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>

class QKeyEvent;

namespace corvane::pages {

// Who started the capture, and so who receives its events.
namespace CaptureMode {
constexpr int None = 0;
constexpr int MacroRecording = 1; // every event goes to the macro recorder
constexpr int KeyboardPanel = 10; // button page: key-downs and key-ups except Shift, Ctrl, Alt
constexpr int MacroKeyField = 12; // key field of the macro event editor: every key event
} // namespace CaptureMode

class KeyCapture : public QObject {
public:
    using Consumer = std::function<void(const InputEvent&)>;

    explicit KeyCapture(QObject* parent = nullptr);
    ~KeyCapture() override;

    // Drops a running capture, starts a new one (a new token) and sets the mode. Needs a
    // QCoreApplication; without one the capture receives nothing. Returns the token.
    quint64 startCapture(int mode);
    // Drops the capture token; keys reach the controls again. The mode stays.
    void stopCapture();

    bool isCapturing() const { return m_token != 0; }
    // The token of the running capture, 0 while none runs.
    quint64 captureToken() const { return m_token; }
    // The last mode started; never reset to None.
    int captureMode() const { return m_mode; }

    // The consumer of a mode's events, called synchronously on the UI thread. It may stop
    // or restart the capture, or replace consumers, from inside the call.
    void setConsumer(int mode, Consumer consumer);

    // The last key captured in modes 10 and 12 (virtual key 0 and an empty name for none),
    // shared by their consumers.
    int lastVirtualKey() const { return m_lastVirtualKey; }
    QString lastKeyName() const { return m_lastKeyName; }
    void clearLastKey();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeKey(const QKeyEvent& key);
    bool leavesField(const QKeyEvent& key) const;
    void deliver(const InputEvent& event);

    quint64 m_token = 0;
    quint64 m_lastToken = 0;
    int m_mode = CaptureMode::None;
    bool m_filterInstalled = false;
    std::map<int, Consumer> m_consumers;
    int m_lastVirtualKey = 0;
    QString m_lastKeyName;
};

} // namespace corvane::pages
