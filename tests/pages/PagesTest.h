#pragma once
// Shared pieces of the page tests: the application (offscreen, with the test language
// file), a window to put controls in, and waiting on the event loop.

#include "support/EventLoop.h"
#include "ui/base/Dialog.h"

#include <QSize>

#include <functional>
#include <memory>

namespace corvane::pages::test {

// A plain top-level window built by a function, shown and active.
class TestWindow : public ui::Dialog {
public:
    std::function<void(TestWindow&)> build;
    std::function<void(int controlId, int code)> onNote;

protected:
    int OnMessage(int controlId, int code, int /*p1*/, int /*p2*/) override {
        if (onNote)
            onNote(controlId, code);
        return 0;
    }
    void InitUI(const QRect& /*client*/) override {
        if (build)
            build(*this);
    }
};

std::unique_ptr<TestWindow> showWindow(std::function<void(TestWindow&)> build = {},
                                       const QRect& rect = {100, 100, 800, 600});

// Runs the event loop until pred holds or the time is up; returns pred().
bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 3000);

// Runs fn once the top-level window titled `title` exists and runs modally (from inside
// that modal run); see corvane::test::ModalAnswer for what the test keeps.
corvane::test::ModalAnswer whenModal(const char* title, std::function<void(ui::Dialog&)> fn);

} // namespace corvane::pages::test
