#include "protocol/worker/DeviceWorker.h"

#include "protocol/worker/DeviceWorkerCore.h"

namespace corvane::protocol {

namespace {
constexpr std::chrono::milliseconds kStopWait{1000};
}

DeviceWorker::DeviceWorker(WorkerConfig config, WorkerHost& host)
    : core_(std::make_shared<DeviceWorkerCore>(std::move(config), host)) {}

DeviceWorker::~DeviceWorker() {
    stop();
}

bool DeviceWorker::start() {
    return core_->startWorker();
}

bool DeviceWorker::stop() {
    // First the window: a command the stop cuts short is no failure to show.
    core_->closeHost();
    const bool ended = core_->stopWorker(kStopWait);
    core_->dropQueued();
    return ended;
}

bool DeviceWorker::isRunning() const {
    return core_->isRunning();
}

bool DeviceWorker::waitForExit(std::chrono::milliseconds wait) const {
    return core_->waitForExit(wait);
}

std::function<bool(std::chrono::milliseconds)> DeviceWorker::exitWaiter() const {
    return [core = core_](std::chrono::milliseconds wait) { return core->waitForExit(wait); };
}

std::uint64_t DeviceWorker::queueTask(int code) {
    return core_->queueTask(code);
}

bool DeviceWorker::finished(std::uint64_t ticket) const {
    return core_->tasksTaken() >= ticket;
}

void DeviceWorker::setTaskEndListener(std::function<void()> listener) {
    core_->setTaskEndListener(std::move(listener));
}

bool DeviceWorker::selectDeviceType(int deviceType) {
    return core_->queueSelectType(deviceType);
}

void DeviceWorker::cancelSetupDownload() {
    core_->cancelSetupDownload();
}

int DeviceWorker::chosenDeviceType() const {
    return core_->chosenDeviceType();
}

std::uint64_t DeviceWorker::steps() const {
    return core_->steps();
}

bool DeviceWorker::asleep() const {
    return core_->restingUntilWoken();
}

std::size_t DeviceWorker::queuedTasks() const {
    return core_->queuedTasks();
}

std::uint64_t DeviceWorker::tasksTaken() const {
    return core_->tasksTaken();
}

WorkerState& DeviceWorker::state() {
    return core_->state();
}

const WorkerState& DeviceWorker::state() const {
    return core_->state();
}

} // namespace corvane::protocol
