#include "cli/LocalDevice.h"

#include "control/requests/RequestRun.h"
#include "control/requests/Session.h"
#include "hid/DeviceManager.h"
#include "i18n/LanguageTexts.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "protocol/worker/QuietWorkerHost.h"
#include "store/ProfileDatabase.h"

#include <thread>

namespace corvane::cli {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPoll{1};
constexpr std::chrono::seconds kStopWait{5};

// Waits until the worker has run the entry with this ticket.
bool waitFor(const protocol::DeviceWorker& worker, std::uint64_t ticket,
             std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!worker.finished(ticket)) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

} // namespace

// The worker's window, when there is none: it answers the worker's questions and has
// nothing to show.
class QuietHost final : public protocol::QuietWorkerHost {
public:
    QuietHost(QString profileWord, int storedType)
        : word(std::move(profileWord)), storedType(storedType) {}

    QString profileWord() override { return word; }
    int storedDeviceType() override { return storedType; }
    // The window's choice stays the window's: corvanectl does not change it.
    void storeDeviceType(int) override {}

private:
    QString word;
    int storedType;
};

LocalDevice::LocalDevice(Setup setup) : setup_(std::move(setup)) {}

LocalDevice::~LocalDevice() {
    if (worker_) {
        worker_->stop();
        worker_->waitForExit(kStopWait);
        worker_.reset();
    }
    store::ProfileDatabase::instance().close();
}

bool LocalDevice::start(std::chrono::milliseconds timeout) {
    host_ = std::make_unique<QuietHost>(setup_.profileWord, setup_.storedDeviceType);
    protocol::WorkerConfig config;
    config.exeFolder = setup_.exeFolder;
    config.dataFolder = setup_.dataFolder;
    config.catalog = setup_.catalog;
    config.pollNotices = false; // nobody shows the mouse's notices here
    // A command never waits for the download server: the firmware check at the end of
    // the start (and any other update task) is the window's.
    config.update.networkAllowed = false;
    worker_ = std::make_unique<protocol::DeviceWorker>(std::move(config), *host_);
    // The store is what the profiles hold; reading the mouse back on every run would
    // only cost time (the window reads it once per run and then follows it too).
    for (const catalog::DeviceDescription& device : setup_.catalog.devices)
        worker_->state().markReadBack(device.deviceType);
    if (!worker_->start())
        return false;
    const std::uint64_t ticket = worker_->queueTask(protocol::DeviceTask::DeviceStart);
    return waitFor(*worker_, ticket, timeout);
}

control::Answer LocalDevice::run(const control::Request& request,
                                 std::chrono::milliseconds timeout) {
    // Nobody followed the mouse's DPI button since the store last heard from it: its
    // active stage is read first, so that what the request shows or sends keeps it.
    const Clock::time_point deadline = Clock::now() + timeout;
    const std::uint64_t followed = worker_->queueTask(protocol::DeviceTask::FollowMouseStage);
    if (!waitFor(*worker_, followed, timeout)) {
        control::Answer late;
        late.exitCode = control::ExitCode::Failure;
        late.err = QStringLiteral("corvanectl: the mouse did not answer in time\n");
        return late;
    }
    control::Session session;
    session.worker = worker_.get();
    session.catalog = setup_.catalog;
    session.exeFolder = setup_.exeFolder;
    session.text = [](int id) { return i18n::lookupText(i18n::kTextSection, id); };
    session.lcid = [] { return i18n::currentLcid(); };
    control::RequestRun run(session, request);
    run.start();
    while (!run.advance()) {
        if (Clock::now() >= deadline)
            return run.timedOutAnswer();
        std::this_thread::sleep_for(kPoll);
    }
    return run.answer();
}

} // namespace corvane::cli
