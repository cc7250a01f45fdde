#pragma once
// A WorkerHost that writes down every call, in order, as one line of text each, and
// lets a test wait for a line to appear.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QString>

#include "protocol/worker/WorkerHost.h"

namespace corvane::protocol::testing {

class RecordingHost final : public WorkerHost {
public:
    using Clock = std::chrono::steady_clock;

    // --- what the worker asks for ---
    QString profileWord() override {
        record("profileWord");
        return QStringLiteral("Profile");
    }
    int storedDeviceType() override {
        std::lock_guard lock(mutex_);
        return storedType_;
    }
    void storeDeviceType(int deviceType) override {
        record("storeDeviceType " + std::to_string(deviceType));
        std::lock_guard lock(mutex_);
        storedType_ = deviceType;
    }

    // --- what it shows ---
    void showDeviceState(const DeviceStateView& view) override {
        std::string line = "showDeviceState text=" + std::to_string(view.connectionText) +
                           " selected=" + std::to_string(view.selectedType) +
                           " pages=" + std::to_string(view.pagesShown) +
                           " details=" + std::to_string(view.details.has_value()) + " attached=";
        for (const DeviceListEntry& entry : view.attached) {
            line += std::to_string(entry.deviceType) + "/" + std::to_string(entry.mode) + "/" +
                    std::to_string(entry.onlineState) + ";";
        }
        std::lock_guard lock(mutex_);
        lastView_ = view;
        append(line);
    }
    void showDeviceDetails(int deviceType, const catalog::DeviceDetails& details) override {
        record("showDeviceDetails " + std::to_string(deviceType) +
               " lighting=" + std::to_string(details.hasLighting));
    }
    void closePopups() override { record("closePopups"); }
    void refreshPages(unsigned pages) override {
        std::string line = "refreshPages";
        for (auto [bit, name] : {std::pair{Page::Buttons, " buttons"},
                                 {Page::Macros, " macros"},
                                 {Page::Performance, " performance"},
                                 {Page::Lighting, " lighting"}}) {
            if (pages & bit) {
                line += name;
            }
        }
        record(line);
    }
    void showProfileName(const QString& title) override {
        record("showProfileName " + title.toStdString());
    }
    void showVersion(const VersionView& version) override {
        record("showVersion " + std::to_string(version.firmwareRelease) + " " +
               version.receiverVersion.toStdString());
    }
    void showReceiverVersion(const QString& versionText) override {
        record("showReceiverVersion " + versionText.toStdString());
    }
    void showBattery(int deviceType, int level, int status) override {
        record("showBattery " + std::to_string(deviceType) + " " + std::to_string(level) + " " +
               std::to_string(status));
    }
    void showConnectionText(int textId) override {
        record("showConnectionText " + std::to_string(textId));
    }
    void setDeviceState(int deviceType, int mode, int onlineState) override {
        record("setDeviceState " + std::to_string(deviceType) + " " + std::to_string(mode) + " " +
               std::to_string(onlineState));
    }
    void showNoDeviceView() override { record("showNoDeviceView"); }
    void showConfigurationPages() override { record("showConfigurationPages"); }
    void macroRecorderUnlinked() override { record("macroRecorderUnlinked"); }
    void showStageCount(int count) override { record("showStageCount " + std::to_string(count)); }
    void showActiveStage(int stage, int dpi, bool showPopup) override {
        record("showActiveStage " + std::to_string(stage) + " " + std::to_string(dpi) + " " +
               std::to_string(showPopup));
    }
    void showDpiStages(const DpiStagesView& stages) override {
        std::string line = "showDpiStages count=" + std::to_string(stages.count) +
                           " active=" + std::to_string(stages.activeStage) + " values=";
        for (int value : stages.values) {
            line += std::to_string(value) + ",";
        }
        record(line);
    }

    // --- updates ---
    void showUpdateStatus(const UpdateStatusView& status) override {
        record(std::string("showUpdateStatus ") + kindName(status.kind) + " " +
               std::to_string(status.state) + " " + status.latest.toStdString() +
               " button=" + std::to_string(status.buttonEnabled));
    }
    void offerUpdate(UpdateKind kind, const QString& latest) override {
        record(std::string("offerUpdate ") + kindName(kind) + " " + latest.toStdString());
    }
    void showSetupProgress(int percent) override {
        record("showSetupProgress " + std::to_string(percent));
    }
    void setupFailed() override { record("setupFailed"); }
    bool startSetup(const QString& program) override {
        record("startSetup " + program.toStdString());
        std::lock_guard lock(mutex_);
        return setupStarts_;
    }
    void showFirmwareProgress(int textId, int percent) override {
        record("showFirmwareProgress " + std::to_string(textId) + " " + std::to_string(percent));
    }
    void endFirmwareUpgrade(bool succeeded) override {
        record("endFirmwareUpgrade " + std::to_string(succeeded));
    }

    // --- for the test ---
    // Whether startSetup reports the setup as started.
    void setSetupStarts(bool starts) {
        std::lock_guard lock(mutex_);
        setupStarts_ = starts;
    }
    void setStoredDeviceType(int type) {
        std::lock_guard lock(mutex_);
        storedType_ = type;
    }
    std::vector<std::string> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    // The calls made after the first `from` ones, without the profileWord questions.
    std::vector<std::string> shownSince(std::size_t from) const {
        std::lock_guard lock(mutex_);
        std::vector<std::string> shown;
        for (std::size_t i = from; i < calls_.size(); ++i) {
            if (calls_[i] != "profileWord") {
                shown.push_back(calls_[i]);
            }
        }
        return shown;
    }
    std::size_t count() const {
        std::lock_guard lock(mutex_);
        return calls_.size();
    }
    DeviceStateView lastView() const {
        std::lock_guard lock(mutex_);
        return lastView_;
    }
    // Waits until a call equal to `line` was made after the first `from` calls.
    bool waitFor(const std::string& line, std::size_t from = 0,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] {
            for (std::size_t i = from; i < calls_.size(); ++i) {
                if (calls_[i] == line) {
                    return true;
                }
            }
            return false;
        });
    }
    // Steady-clock time of the first call equal to `line`, or nothing.
    std::optional<Clock::time_point> timeOf(const std::string& line) const {
        std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < calls_.size(); ++i) {
            if (calls_[i] == line) {
                return times_[i];
            }
        }
        return std::nullopt;
    }

private:
    static const char* kindName(UpdateKind kind) {
        return kind == UpdateKind::Program ? "program" : "firmware";
    }
    void record(const std::string& line) {
        std::lock_guard lock(mutex_);
        append(line);
    }
    void append(const std::string& line) {
        calls_.push_back(line);
        times_.push_back(Clock::now());
        changed_.notify_all();
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> calls_;
    std::vector<Clock::time_point> times_;
    DeviceStateView lastView_;
    int storedType_ = 0;
    bool setupStarts_ = true;
};

} // namespace corvane::protocol::testing
