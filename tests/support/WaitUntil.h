#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <functional>

namespace corvane::test {

// Runs the event loop until `pred` holds or `timeoutMs` passed; true when it held.
inline bool waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qSleep(1);
    }
    return true;
}

} // namespace corvane::test
