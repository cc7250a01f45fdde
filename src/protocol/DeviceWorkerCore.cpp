#include "protocol/DeviceWorkerCore.h"

#include "catalog/PerformanceDefaults.h"
#include "hid/DeviceManager.h"
#include "protocol/ButtonCommands.h"
#include "protocol/DeviceTask.h"
#include "protocol/LightingCommands.h"
#include "protocol/PerformanceCommands.h"
#include "protocol/SettingValues.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol {

// Codes not listed here are taken off the queue and ignored. The update work adds
// CheckProgramVersion, CheckFirmwareVersion, DownloadSetup and UpgradeFirmware.
const DeviceWorkerCore::TaskEntry DeviceWorkerCore::kTasks[] = {
    {DeviceTask::DeviceStart, &DeviceWorkerCore::startTask},
    {DeviceTask::DeviceArrived, &DeviceWorkerCore::arrivalTask},
    {DeviceTask::DeviceRemoved, &DeviceWorkerCore::removalTask},
    {DeviceTask::Reselect, &DeviceWorkerCore::reselectTask},
    {DeviceTask::PushProfile, &DeviceWorkerCore::pushTask},
    {DeviceTask::SendButtons, &DeviceWorkerCore::sendButtonsWithMacro},
    {DeviceTask::SendLighting, &DeviceWorkerCore::lightingTask},
    {DeviceTask::SendDpi, &DeviceWorkerCore::sendDpiStages},
    {DeviceTask::SendDpiColors, &DeviceWorkerCore::dpiColorsTask},
    {DeviceTask::SendReportRate, &DeviceWorkerCore::reportRateTask},
    {DeviceTask::SendSensor, &DeviceWorkerCore::sensorTask},
    {DeviceTask::SendPower, &DeviceWorkerCore::powerTask},
    {DeviceTask::ResetLighting, &DeviceWorkerCore::lightingResetTask},
    {DeviceTask::RestoreDpiDefaults, &DeviceWorkerCore::dpiDefaultsTask},
    {DeviceTask::FactoryReset, &DeviceWorkerCore::factoryResetTask},
};

DeviceWorkerCore::DeviceWorkerCore(WorkerConfig config, WorkerHost& host)
    : config_(std::move(config)), host_(host) {}

// --- the queue ---

std::uint64_t DeviceWorkerCore::append(QueuedTask task) {
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back(task);
        ticket = ++appended_;
    }
    wake();
    return ticket;
}

std::uint64_t DeviceWorkerCore::queueTask(int code) {
    return append({code, std::nullopt});
}

std::uint64_t DeviceWorkerCore::queueSelectType(int deviceType) {
    return append({0, deviceType});
}

std::size_t DeviceWorkerCore::queuedTasks() const {
    std::lock_guard lock(queueMutex_);
    return queue_.size();
}

void DeviceWorkerCore::dropQueued() {
    std::lock_guard lock(queueMutex_);
    queue_.clear();
}

std::optional<DeviceWorkerCore::QueuedTask> DeviceWorkerCore::take() {
    std::lock_guard lock(queueMutex_);
    if (queue_.empty()) {
        return std::nullopt;
    }
    QueuedTask task = queue_.front();
    queue_.pop_front();
    return task;
}

bool DeviceWorkerCore::isIdle() {
    if (state_.idlePolling()) {
        return false;
    }
    std::lock_guard lock(queueMutex_);
    return queue_.empty();
}

// --- one step ---

void DeviceWorkerCore::doWork() {
    if (std::optional<QueuedTask> task = take()) {
        run(*task);
        ++tasksTaken_;
    } else if (state_.idlePolling()) {
        idleStep();
    }
}

void DeviceWorkerCore::run(const QueuedTask& task) {
    if (task.selectType) {
        selectTypeTask(*task.selectType);
        return;
    }
    for (const TaskEntry& entry : kTasks) {
        if (entry.code == task.code) {
            (this->*entry.run)();
            return;
        }
    }
}

// --- the tasks of one command ---

void DeviceWorkerCore::afterWrite(bool accepted) {
    if (!accepted) {
        state_.noteRejectedWrite();
        commandFailed();
    }
}

void DeviceWorkerCore::lightingTask() {
    if (state_.hasLighting()) {
        sendLightingIfAny();
    }
}

void DeviceWorkerCore::dpiColorsTask() {
    afterWrite(setDpiColors(state_.currentProfile()));
}

void DeviceWorkerCore::reportRateTask() {
    afterWrite(setReportRate(state_.currentProfile()));
}

void DeviceWorkerCore::sensorTask() {
    afterWrite(setSensor(state_.currentProfile()));
}

void DeviceWorkerCore::powerTask() {
    afterWrite(setPower(state_.currentProfile()));
}

void DeviceWorkerCore::sendDpiStages() {
    afterWrite(setDpi(state_.currentProfile(), state_.sensor()));
}

// The lighting page made its choice the profile's current light record before it
// queued the task.
void DeviceWorkerCore::sendLightingIfAny() {
    const int profile = state_.currentProfile();
    const int mode = store::ProfileDatabase::instance().getCurrentLightMode(profile);
    state_.setCurrentLightMode(mode);
    afterWrite(setLighting(profile, mode) != LightingResult::NotAccepted);
}

void DeviceWorkerCore::sendButtonsWithMacro() {
    // Taken (and so cleared) whether or not a macro goes out.
    const MacroRequest macro = state_.takeMacroRequest();
    afterWrite(setButtons(state_.currentProfile(), macro.dirty, macro.button));
}

// The lighting page restored its defaults: the mouse resets its own lighting and
// reports the mode it chose.
void DeviceWorkerCore::lightingResetTask() {
    if (!state_.hasLighting()) {
        return;
    }
    lightControl(LightControlParameter::Restore);
    if (!pause(config_.delays.lighting)) {
        return;
    }
    int mode = 0;
    if (getLighting(state_.currentProfile(), mode)) {
        state_.setCurrentLightMode(mode);
    }
    host_.call([](WorkerHost& host) { host.refreshPages(Page::Lighting); });
}

void DeviceWorkerCore::dpiDefaultsTask() {
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    const int profile = state_.currentProfile();
    catalog::applyPerformanceDefaults(database, config_.exeFolder,
                                      deviceAttrOf(state_.currentDeviceType()), profile, true);
    DpiStagesView stages;
    for (int k = 0; k < DpiStagesView::kStages; ++k) {
        stages.values[k] =
            database.getSettingInt(profile, QStringLiteral("dpi_group%1_value").arg(k));
        stages.colours[k] =
            database.getSettingInt(profile, QStringLiteral("dpi_group%1_rgb").arg(k));
    }
    stages.count = database.getSettingInt(profile, keys::dpiCount);
    const int index = database.getSettingInt(profile, keys::dpiIndex);
    stages.activeStage = index >= 0 && index < stages.count ? index : 0;
    host_.call([&](WorkerHost& host) { host.showDpiStages(stages); });
    sendDpiStages();
    dpiColorsTask();
}

// --- helpers ---

unsigned DeviceWorkerCore::allPages() const {
    unsigned pages = Page::Buttons | Page::Macros | Page::Performance;
    if (state_.hasLighting()) {
        pages |= Page::Lighting;
    }
    return pages;
}

QString DeviceWorkerCore::deviceAttrOf(int type) const {
    return catalog::deviceAttrOf(config_.catalog, type);
}

} // namespace corvane::protocol
