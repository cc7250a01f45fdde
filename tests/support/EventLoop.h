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

// Runs `inside` from the event loop once a visible window titled `title` runs modally
// (fails the test when none does within five seconds).
inline void whenModal(const QString& title, std::function<void(ui::Dialog&)> inside) {
    auto* poll = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, title, inside = std::move(inside)] {
        for (ui::Dialog* window : ui::Dialog::windows()) {
            if (window->title() == title && window->isRunningModal() && window->isVisible()) {
                poll->stop();
                poll->deleteLater();
                inside(*window);
                return;
            }
        }
        if (clock->elapsed() > 5000) {
            ADD_FAILURE() << "no modal window titled " << title.toStdString();
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(5);
}

} // namespace corvane::test
