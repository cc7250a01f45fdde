#include "protocol/worker/WorkerState.h"

#include <utility>

namespace corvane::protocol {

void WorkerState::setBattery(int status, int level) {
    batteryStatus_.store(status);
    batteryLevel_.store(level);
}

SensorState WorkerState::sensor() const {
    std::lock_guard lock(mutex_);
    return sensor_;
}

void WorkerState::setSensor(const SensorState& sensor) {
    std::lock_guard lock(mutex_);
    sensor_ = sensor;
}

QString WorkerState::receiverVersion() const {
    std::lock_guard lock(mutex_);
    return receiverVersion_;
}

void WorkerState::setReceiverVersion(const QString& version) {
    std::lock_guard lock(mutex_);
    receiverVersion_ = version;
}

bool WorkerState::readBackDone(int deviceType) const {
    std::lock_guard lock(mutex_);
    return readBackDone_.count(deviceType) != 0;
}

bool WorkerState::markReadBack(int deviceType) {
    std::lock_guard lock(mutex_);
    return readBackDone_.insert(deviceType).second;
}

void WorkerState::clearReadBackDone() {
    std::lock_guard lock(mutex_);
    readBackDone_.clear();
}

void WorkerState::requestMacroDownload(int button) {
    if (button < 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    macro_.buttons.insert(button);
}

MacroRequest WorkerState::takeMacroRequest() {
    std::lock_guard lock(mutex_);
    return std::exchange(macro_, MacroRequest{});
}

MacroRequest WorkerState::macroRequest() const {
    std::lock_guard lock(mutex_);
    return macro_;
}

catalog::DeviceDetails WorkerState::details() const {
    std::lock_guard lock(mutex_);
    return details_;
}

void WorkerState::setDetails(const catalog::DeviceDetails& details) {
    std::lock_guard lock(mutex_);
    details_ = details;
    hasLighting_.store(details.hasLighting);
}

} // namespace corvane::protocol
