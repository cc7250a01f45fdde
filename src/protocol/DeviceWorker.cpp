#include "protocol/DeviceWorker.h"

#include "protocol/DeviceWorkerCore.h"

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
    const bool ended = core_->stopThread(kStopWait);
    core_->dropQueued();
    core_->closeHost();
    return ended;
}

bool DeviceWorker::isRunning() const {
    return core_->isRunning();
}

bool DeviceWorker::waitForExit(std::chrono::milliseconds wait) const {
    return core_->waitForExit(wait);
}

std::uint64_t DeviceWorker::queueTask(int code) {
    return core_->queueTask(code);
}

bool DeviceWorker::finished(std::uint64_t ticket) const {
    return core_->tasksTaken() >= ticket;
}

void DeviceWorker::selectDeviceType(int deviceType) {
    core_->queueSelectType(deviceType);
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
