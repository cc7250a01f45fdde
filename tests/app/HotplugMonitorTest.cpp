#include "TestSupport.h"

#include "app/HotplugMonitor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>
#include <memory>

using namespace corvane::app;

namespace {

TEST(HotplugMonitor, EventSourceFollowsTheUdevDaemon) {
    EXPECT_STREQ(udevEventSource(true), "udev");
    EXPECT_STREQ(udevEventSource(false), "kernel");
}

TEST(HotplugMonitor, ConstructingAndDestroyingIsSafe) {
    corvane::app::test::ensureCoreApplication();
    {
        HotplugMonitor first;
        auto second = std::make_unique<HotplugMonitor>();
        EXPECT_EQ(first.isActive(), second->isActive());
        QObject::connect(&first, &HotplugMonitor::deviceChanged, [] {});
        QDeadlineTimer deadline(100);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        second.reset();
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
}

} // namespace
