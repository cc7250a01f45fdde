#pragma once

#include "control/requests/RequestRun.h"
#include "control/requests/Session.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <list>
#include <memory>

namespace corvane::app {

class DeviceMainDlg;

// corvanectl's requests, run by the window: on the UI thread, on the store its pages
// show, with its device worker doing the work; the pages reload as they would after a
// change of their own. Each answer goes back once the mouse has taken the change.
class WindowRequests : public QObject {
public:
    using Reply = std::function<void(const QByteArray& answer)>;

    // `virtualMice`: the window runs with the virtual devices (a request from a
    // corvanectl that means the real ones, or the other way round, is refused).
    WindowRequests(DeviceMainDlg& window, QString exeFolder, bool virtualMice,
                   std::chrono::milliseconds timeout = std::chrono::seconds(30));
    ~WindowRequests() override;

    // The request's JSON; malformed ones are answered with a usage error and change
    // nothing.
    void handle(const QByteArray& request, Reply reply);
    std::size_t pending() const { return running.size(); }

private:
    struct Running {
        std::unique_ptr<control::RequestRun> run;
        Reply reply;
        std::chrono::steady_clock::time_point deadline;
    };
    void check();

    DeviceMainDlg& window;
    control::Session session;
    bool virtualMice;
    std::chrono::milliseconds timeout;
    std::list<Running> running;
    QTimer poll;
};

} // namespace corvane::app
