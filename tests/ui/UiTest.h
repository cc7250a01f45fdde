#pragma once
// Shared pieces of the widget tests: a dialog that records every hook call and
// notification, and a way to wait for the event loop.

#include "ui/base/Dialog.h"

#include <QRect>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace corvane::ui::test {

struct Note {
    int id;
    int code;
    int p1;
    int p2;
    bool operator==(const Note&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const Note& n) {
    return os << "{id " << n.id << ", code " << n.code << ", " << n.p1 << ", " << n.p2 << "}";
}

struct WindowMessage {
    int message;
    int wParam;
    int lParam;
    bool operator==(const WindowMessage&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const WindowMessage& m) {
    return os << "{" << m.message << ", " << m.wParam << ", " << m.lParam << "}";
}

class RecordingDialog : public Dialog {
public:
    std::vector<std::string> hooks;
    std::vector<Note> notes;
    std::vector<WindowMessage> messages;
    std::vector<int> timers;
    std::vector<QRect> layouts;
    std::function<void(RecordingDialog&)> build;
    std::function<void(const Note&)> onNote;
    std::function<void(int)> onTimer;
    std::function<void(const WindowMessage&)> onWindowMessage;

    int OnWindowMessage(int message, int wParam, int lParam) override;
    bool OnInitDialog() override;
    void InitUI(const QRect& client) override;
    void UISize(const QRect& client) override;
    int OnMessage(int controlId, int code, int p1, int p2) override;
    void OnTimer(int timerId) override;
    void DestroyWindow() override;
};

// Creates a visible, active top-level dialog of the given size, built by `build`, with
// its notes cleared once activation has focused the first control.
std::unique_ptr<RecordingDialog> showDialog(std::function<void(RecordingDialog&)> build,
                                            QSize size = {640, 480});

// Runs the event loop until pred holds or the time is up; returns pred().
bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 3000);

} // namespace corvane::ui::test
