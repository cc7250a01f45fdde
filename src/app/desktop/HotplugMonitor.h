#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace corvane::app {

// "udev" when a udev daemon runs (events then arrive after its rules gave us access to
// the node), else "kernel".
const char* udevEventSource(bool udevDaemonRuns);

// Arrivals and removals of hidraw interfaces, read from a libudev monitor on the thread
// that owns the object (the UI thread). Each event is reported with its interface text
// (interfaceTextOf) and its device node. Where udev is unavailable the monitor stays
// inactive and reports nothing.
class HotplugMonitor : public QObject {
    Q_OBJECT
public:
    explicit HotplugMonitor(QObject* parent = nullptr);
    ~HotplugMonitor() override;

    bool isActive() const { return notifier != nullptr; }

signals:
    void deviceChanged(const QString& interfaceText, const QString& hidrawPath, bool arrived);

private:
    void readEvent();
    void release();

    udev* context = nullptr;
    udev_monitor* monitor = nullptr;
    QSocketNotifier* notifier = nullptr;
};

} // namespace corvane::app
