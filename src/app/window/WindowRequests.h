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
#include <mutex>

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
    // What the worker's task-end listener reaches, on the worker thread: it asks for a
    // check on this object's thread while requests run, and nothing once this object is
    // gone (the worker may outlive it).
    struct TaskEnds {
        std::mutex mutex;
        WindowRequests* target = nullptr; // null once the requests are gone
        bool waiting = false;             // a request waits for its tasks
    };
    void check();
    void setWaiting(bool waiting);

    DeviceMainDlg& window;
    control::Session session;
    bool virtualMice;
    std::chrono::milliseconds timeout;
    std::list<Running> running;
    std::shared_ptr<TaskEnds> taskEnds = std::make_shared<TaskEnds>();
    // A fallback for the deadline; the answer goes out when the worker tells that the
    // task ended.
    QTimer poll;
};

} // namespace corvane::app
