#include "protocol/worker/DeviceWorkerCore.h"

#include "catalog/PerformanceDefaults.h"
#include "hid/DeviceManager.h"
#include "protocol/commands/ButtonCommands.h"
#include "protocol/commands/LightingCommands.h"
#include "protocol/commands/PerformanceCommands.h"
#include "protocol/transport/SettingValues.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/WorkerUpdates.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol {

// Codes not listed here are taken off the queue and ignored.
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
    {DeviceTask::CheckProgramVersion, &DeviceWorkerCore::programCheckTask},
    {DeviceTask::CheckFirmwareVersion, &DeviceWorkerCore::firmwareCheckTask},
    {DeviceTask::DownloadSetup, &DeviceWorkerCore::setupDownloadTask},
    {DeviceTask::UpgradeFirmware, &DeviceWorkerCore::firmwareUpgradeTask},
    {DeviceTask::RecoverFirmware, &DeviceWorkerCore::firmwareRecoveryTask},
    {DeviceTask::FollowMouseStage, &DeviceWorkerCore::followMouseStageTask},
};

namespace {

// The start sequence ends with the firmware check unless the caller gave its own.
WorkerConfig withFirmwareCheck(WorkerConfig config, std::function<void()> check) {
    if (!config.checkFirmware) {
        config.checkFirmware = std::move(check);
    }
    return config;
}

} // namespace

DeviceWorkerCore::DeviceWorkerCore(WorkerConfig config, WorkerHost& host)
    : config_(withFirmwareCheck(std::move(config), [this] { firmwareCheckTask(); })), host_(host),
      updates_(std::make_unique<WorkerUpdates>(WorkerUpdates::Context{
          config_, host_, state_, [this](WorkerDelays::Milliseconds d) { return pause(d); },
          [this] { return stopRequested(); }})) {}

DeviceWorkerCore::~DeviceWorkerCore() = default;

bool DeviceWorkerCore::startWorker() {
    if (isRunning()) {
        return false;
    }
    hid::DeviceManager& devices = hid::DeviceManager::instance();
    devices.setInterrupted(false);
    // Without anyone to show notices to, exchanges read their answers themselves.
    devices.setBackgroundReading(config_.pollNotices);
    if (config_.pollNotices) {
        devices.setNoticeListener([weak = weak_from_this()] {
            if (const std::shared_ptr<CThreadBasic> self = weak.lock()) {
                self->wake();
            }
        });
    }
    return startThread(1, config_.delays.loopPause);
}

bool DeviceWorkerCore::stopWorker(Milliseconds wait) {
    const bool started = isRunning();
    if (started) {
        hid::DeviceManager::instance().setNoticeListener({});
        hid::DeviceManager::instance().setInterrupted(true);
    }
    const bool ended = stopThread(wait);
    if (started && ended) {
        hid::DeviceManager::instance().setInterrupted(false);
    }
    return ended;
}

// --- the queue ---

void DeviceWorkerCore::setTaskEndListener(std::function<void()> listener) {
    std::lock_guard lock(listenerMutex_);
    taskEndListener_ = std::move(listener);
}

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

bool DeviceWorkerCore::queueSelectType(int deviceType) {
    {
        std::lock_guard lock(queueMutex_);
        const int chosen = pendingSelects_ > 0 ? lastSelect_ : state_.currentDeviceType();
        if (deviceType == chosen) {
            return false;
        }
        ++pendingSelects_;
        lastSelect_ = deviceType;
        queue_.push_back({0, deviceType});
        ++appended_;
    }
    wake();
    return true;
}

int DeviceWorkerCore::chosenDeviceType() const {
    std::lock_guard lock(queueMutex_);
    return pendingSelects_ > 0 ? lastSelect_ : state_.currentDeviceType();
}

std::size_t DeviceWorkerCore::queuedTasks() const {
    std::lock_guard lock(queueMutex_);
    return queue_.size();
}

void DeviceWorkerCore::dropQueued() {
    std::lock_guard lock(queueMutex_);
    for (const QueuedTask& task : queue_) {
        pendingSelects_ -= task.selectType ? 1 : 0;
    }
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

// With an empty queue and no notice held the loop sleeps on its condition variable
// until queueTask or a reader holding a notice wakes it: nothing is polled.
CThreadBasic::Milliseconds DeviceWorkerCore::restAfterStep() {
    {
        std::lock_guard lock(queueMutex_);
        if (!queue_.empty()) {
            return config_.delays.loopPause;
        }
    }
    if (state_.idlePolling() && hid::DeviceManager::instance().noticeWaiting()) {
        return config_.delays.loopPause;
    }
    return kUntilWoken;
}

// --- one step ---

void DeviceWorkerCore::doWork() {
    ++steps_;
    if (std::optional<QueuedTask> task = take()) {
        run(*task);
        ++tasksTaken_;
        std::lock_guard lock(listenerMutex_);
        if (taskEndListener_) {
            taskEndListener_();
        }
    } else if (state_.idlePolling()) {
        idleStep();
    }
}

void DeviceWorkerCore::run(const QueuedTask& task) {
    if (task.selectType) {
        selectTypeTask(*task.selectType);
        // Settled: from now on the current type is the choice.
        std::lock_guard lock(queueMutex_);
        --pendingSelects_;
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
        if (stopRequested())
            return;
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

// The DPI button may be pressed while commands go out (a push sends several). A notice
// held from before SetDpi tells of a stage that SetDpi has just replaced: replaying it
// would put the store one press ahead of the mouse, so it is dropped. One that came
// while SetDpi was on its way may be older or newer than it: the mouse is asked.
void DeviceWorkerCore::sendDpiStages() {
    hid::DeviceManager& devices = hid::DeviceManager::instance();
    hid::HeldNotices& held = devices.heldNotices();
    const int profile = state_.currentProfile();
    const std::size_t before = held.count(devices.currentHandle(), hid::kDpiNoticeCode);
    const bool accepted = setDpi(profile, state_.sensor());
    if (accepted) {
        hid::HidDevice* handle = devices.currentHandle();
        held.dropOldest(handle, hid::kDpiNoticeCode, before);
        if (held.count(handle, hid::kDpiNoticeCode) > 0) {
            held.drop(handle, hid::kDpiNoticeCode);
            if (getDpi(profile, state_.sensor())) {
                host_.call([](WorkerHost& host) { host.refreshPages(Page::Performance); });
            }
        }
    }
    afterWrite(accepted);
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
    afterWrite(setButtons(state_.currentProfile(), macro.buttons));
}

void DeviceWorkerCore::sendButtonsWithAllMacros() {
    // The push sends every bound macro, so whatever was asked for is sent too.
    state_.takeMacroRequest();
    afterWrite(setButtonsWithAllMacros(state_.currentProfile()));
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
