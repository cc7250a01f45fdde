#pragma once
// Event-loop helpers shared by the widget test programs.

#include "ui/base/Dialog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

namespace corvane::test {

// Lets the event loop run for a while.
inline void spin(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qSleep(1);
    }
}

// What whenModal returns. Keep it until the part of the test it answers is over: its
// timer stops when it goes, and when the window never came (so nothing inside ran) the
// test fails there.
class [[nodiscard]] ModalAnswer {
public:
    ModalAnswer(QString title, std::function<void(ui::Dialog&)> inside)
        : title_(std::move(title)), poll_(std::make_unique<QTimer>()) {
        QObject::connect(poll_.get(), &QTimer::timeout,
                         [this, inside = std::move(inside)] { answerIfShown(inside); });
        poll_->start(5);
    }
    ~ModalAnswer() {
        poll_->stop();
        if (!ran_)
            ADD_FAILURE() << "no modal window titled " << title_.toStdString()
                          << " ran while the test waited for it";
    }
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    // Whether the window came and the callback ran.
    bool ran() const { return ran_; }

private:
    void answerIfShown(const std::function<void(ui::Dialog&)>& inside) {
        for (ui::Dialog* window : ui::Dialog::windows()) {
            if (window->title() == title_ && window->isRunningModal() && window->isVisible()) {
                poll_->stop();
                ran_ = true;
                inside(*window);
                return;
            }
        }
    }

    const QString title_;
    std::unique_ptr<QTimer> poll_;
    bool ran_ = false;
};

// Runs `inside` from the event loop once a visible window titled `title` runs modally.
//   const auto answered = whenModal(title, [](ui::Dialog& box) { ... });
//   showTheBox();
inline ModalAnswer whenModal(const QString& title, std::function<void(ui::Dialog&)> inside) {
    return ModalAnswer(title, std::move(inside));
}

} // namespace corvane::test
