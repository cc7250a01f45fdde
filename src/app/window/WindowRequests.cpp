#include "app/window/WindowRequests.h"

#include "app/window/DeviceMainDlg.h"
#include "i18n/LanguageTexts.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "store/ProfileStartup.h"

namespace corvane::app {

namespace {

constexpr int kPollMs = 2;
const QString kVirtualOption = QStringLiteral("virtual-mouse");

QByteArray refusal(int exitCode, const QString& message) {
    control::Answer answer;
    answer.exitCode = exitCode;
    answer.err = QStringLiteral("corvanectl: %1\n").arg(message);
    return control::encodeAnswer(answer);
}

} // namespace

WindowRequests::WindowRequests(DeviceMainDlg& window, QString exeFolder, bool virtualMice,
                               std::chrono::milliseconds timeout)
    : window(window), virtualMice(virtualMice), timeout(timeout) {
    session.catalog = window.deviceCatalog();
    session.exeFolder = std::move(exeFolder);
    session.text = [](int id) { return i18n::lookupText(i18n::kTextSection, id); };
    session.lcid = [] { return i18n::currentLcid(); };
    // Both go through the worker's host, so they reach the window in order with the
    // worker's own reports.
    session.reloadPages = [&window](unsigned pages) { window.workerHost().refreshPages(pages); };
    session.showProfileName = [&window] {
        protocol::WorkerHost& host = window.workerHost();
        const int profile = window.workerState().currentProfile();
        host.showProfileName(store::profileButtonText(store::ProfileDatabase::instance(), profile,
                                                      host.profileWord()));
    };
    session.focus = [&window] { return window.focusView(); };
    poll.setInterval(kPollMs);
    connect(&poll, &QTimer::timeout, this, &WindowRequests::check);
    taskEnds->target = this;
}

WindowRequests::~WindowRequests() {
    std::lock_guard lock(taskEnds->mutex);
    taskEnds->target = nullptr;
}

void WindowRequests::setWaiting(bool waiting) {
    std::lock_guard lock(taskEnds->mutex);
    taskEnds->waiting = waiting;
}

void WindowRequests::handle(const QByteArray& request, Reply reply) {
    std::optional<control::Request> decoded = control::decodeRequest(request);
    if (!decoded) {
        reply(refusal(control::ExitCode::Usage, QStringLiteral("malformed request")));
        return;
    }
    const bool wantsVirtual = decoded->options.contains(kVirtualOption);
    decoded->options.remove(kVirtualOption);
    if (wantsVirtual != virtualMice) {
        reply(refusal(control::ExitCode::Usage,
                      virtualMice ? QStringLiteral("the running window uses the virtual mice; "
                                                   "add --virtual-mouse")
                                  : QStringLiteral("the running window uses the real mice; "
                                                   "leave out --virtual-mouse or close it")));
        return;
    }
    session.worker = window.worker();
    if (session.worker) {
        // The answer goes back as soon as the worker has run the request's last task.
        session.worker->setTaskEndListener([ends = taskEnds] {
            std::lock_guard lock(ends->mutex);
            if (ends->target && ends->waiting) {
                QMetaObject::invokeMethod(
                    ends->target, [target = ends->target] { target->check(); },
                    Qt::QueuedConnection);
            }
        });
    }
    // Before the first task is queued: a task that ends at once is still heard of.
    setWaiting(true);
    Running entry{std::make_unique<control::RequestRun>(session, std::move(*decoded)),
                  std::move(reply), std::chrono::steady_clock::now() + timeout};
    entry.run->start();
    running.push_back(std::move(entry));
    check();
}

void WindowRequests::check() {
    const auto now = std::chrono::steady_clock::now();
    for (auto it = running.begin(); it != running.end();) {
        if (it->run->advance()) {
            it->reply(control::encodeAnswer(it->run->answer()));
        } else if (now >= it->deadline) {
            it->reply(control::encodeAnswer(it->run->timedOutAnswer()));
        } else {
            ++it;
            continue;
        }
        it = running.erase(it);
    }
    setWaiting(!running.empty());
    if (running.empty())
        poll.stop();
    else if (!poll.isActive())
        poll.start();
}

} // namespace corvane::app
