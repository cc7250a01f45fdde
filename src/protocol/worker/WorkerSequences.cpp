// The device worker's synchronisation sequences: settling the device after a scan,
// reading the mouse back into the store, pushing the store to the mouse and the
// factory reset.
#include "protocol/worker/DeviceWorkerCore.h"

#include <functional>
#include <vector>

#include "catalog/PerformanceDefaults.h"
#include "catalog/SupportedInterfaces.h"
#include "hid/DeviceManager.h"
#include "hid/Trace.h"
#include "protocol/commands/DeviceInfoCommands.h"
#include "protocol/commands/LightingCommands.h"
#include "protocol/commands/PerformanceCommands.h"
#include "protocol/worker/DeviceSelection.h"
#include "store/ProfileDatabase.h"
#include "store/ProfileStartup.h"

namespace corvane::protocol {

namespace {

hid::DeviceManager& manager() {
    return hid::DeviceManager::instance();
}

store::ProfileDatabase& database() {
    return store::ProfileDatabase::instance();
}

constexpr int kNoConnection = -1;
constexpr int kWirelessConnection = 1;

} // namespace

// --- start, rescan, reselect ---

void DeviceWorkerCore::startTask() {
    rebuildSupportedTable();
    startSequence(WorkerDelays::Milliseconds(0));
}

void DeviceWorkerCore::arrivalTask() {
    rebuildSupportedTable();
    startSequence(config_.delays.arrival);
}

void DeviceWorkerCore::rebuildSupportedTable() {
    catalog::registerSupportedInterfaces(config_.catalog, manager());
}

void DeviceWorkerCore::startSequence(WorkerDelays::Milliseconds delay) {
    if (!pause(delay)) {
        return;
    }
    state_.setConnected(0);
    refreshDeviceState();
    if (manager().connectionKind() == kNoConnection || stopRequested()) {
        return;
    }
    loadProfiles();
    host_.call([this](WorkerHost& host) { host.refreshPages(allPages()); });
    if (!readBack(ReadBackKind::Full)) {
        hid::trace(2, "device start: reading the mouse back failed");
        return;
    }
    afterSuccessfulRead();
    if (config_.checkFirmware && !stopRequested()) {
        config_.checkFirmware();
    }
}

void DeviceWorkerCore::removalTask() {
    if (!pause(config_.delays.removal)) {
        return;
    }
    state_.setConnected(0);
    const bool typeChanged = refreshDeviceState();
    if (manager().connectionKind() == kNoConnection || stopRequested()) {
        return;
    }
    if (typeChanged) {
        // Another device type is current now: its store holds other profiles.
        loadProfiles();
        host_.call([this](WorkerHost& host) { host.refreshPages(allPages()); });
    }
    if (readBack(ReadBackKind::Full)) {
        afterSuccessfulRead();
    }
}

void DeviceWorkerCore::reselectTask() {
    loadProfiles();
    host_.call([this](WorkerHost& host) { host.refreshPages(allPages()); });
    if (readBack(ReadBackKind::Full)) {
        afterSuccessfulRead();
    }
}

void DeviceWorkerCore::relinkSequence() {
    host_.call([this](WorkerHost& host) { host.refreshPages(allPages()); });
    if (readBack(ReadBackKind::Relink)) {
        afterSuccessfulRead();
    }
}

void DeviceWorkerCore::afterSuccessfulRead() {
    host_.call([this](WorkerHost& host) { host.refreshPages(allPages()); });
    showVersion();
}

// --- settling the current device ---

bool DeviceWorkerCore::refreshDeviceState() {
    hid::DeviceManager& devices = manager();
    const int stored = host_.ask([](WorkerHost& host) { return host.storedDeviceType(); }, 0);
    const int previous = state_.currentDeviceType();

    devices.rescan();
    if (stopRequested()) {
        return false; // a scan cut short by the stop settles nothing
    }
    devices.selectType(0);
    std::vector<hid::ConnectedDevice> attached;
    devices.devicesOfCurrentType(attached); // every device while no type is current
    devices.selectType(stored);

    DeviceStateView view;
    std::vector<int> attachedTypes;
    for (const hid::ConnectedDevice& device : attached) {
        if (device.deviceType > 0) {
            view.attached.push_back(
                {device.deviceType, device.mode, device.onlineState, device.releaseNumber});
            attachedTypes.push_back(device.deviceType);
        }
    }
    if (!view.attached.empty()) {
        std::vector<int> listed;
        for (const catalog::DeviceDescription& description : config_.catalog.devices) {
            listed.push_back(description.deviceType);
        }
        view.selectedType = chooseDeviceType(stored, previous, attachedTypes, listed);
        view.details = settleDeviceType(view.selectedType);
    }

    bool shown = false;
    if (!attached.empty()) {
        state_.setIdlePolling(config_.pollNotices);
        switch (devices.connectionKind()) {
        case 0:
            view.connectionText = ConnectionText::Wired;
            shown = true;
            break;
        case 1:
            view.connectionText = ConnectionText::Wireless;
            shown = true;
            break;
        default:
            view.connectionText = ConnectionText::NoDevice;
            break;
        }
    } else {
        state_.setIdlePolling(false);
        view.connectionText = ConnectionText::NoDevice;
        // A supported mouse whose hidraw node this user may not open.
        view.noPermission = devices.unopenedInterfaces() > 0;
    }
    state_.setConnectionShown(shown);
    view.pagesShown = shown;
    host_.call([&](WorkerHost& host) {
        host.showDeviceState(view);
        host.closePopups();
    });
    if (attached.empty() && !stopRequested()) {
        offerRecoveryIfStranded();
    }
    return state_.currentDeviceType() != previous;
}

std::optional<catalog::DeviceDetails> DeviceWorkerCore::settleDeviceType(int type) {
    state_.setCurrentDeviceType(type);
    manager().selectType(type);
    host_.call([type](WorkerHost& host) { host.storeDeviceType(type); });

    const QString attr = deviceAttrOf(type);
    database().openForDevice(config_.dataFolder, attr);
    catalog::DeviceDetails details = state_.details();
    if (!catalog::readDeviceDetails(config_.exeFolder, attr, details)) {
        return std::nullopt; // the window keeps what it shows
    }
    state_.setDetails(details);
    return details;
}

// The device list's choice, made on the UI thread: the store file and the profiles of
// that type, on this thread so that no task in progress writes into the wrong file.
void DeviceWorkerCore::selectTypeTask(int type) {
    if (type <= 0 || type == state_.currentDeviceType()) {
        return;
    }
    const std::optional<catalog::DeviceDetails> details = settleDeviceType(type);
    if (details) {
        host_.call([&](WorkerHost& host) { host.showDeviceDetails(type, *details); });
    }
    loadProfiles();
    host_.call([this](WorkerHost& host) { host.refreshPages(allPages()); });
}

void DeviceWorkerCore::loadProfiles() {
    const QString attr = deviceAttrOf(state_.currentDeviceType());
    store::ProfileStartupHooks hooks;
    hooks.profileWord = [this] {
        return host_.ask([](WorkerHost& host) { return host.profileWord(); }, QString());
    };
    hooks.writeFactoryValues = [this, attr](int profile) {
        catalog::applyPerformanceDefaults(database(), config_.exeFolder, attr, profile, false);
    };
    const store::LoadedProfiles loaded = store::loadProfiles(database(), hooks);
    state_.setCurrentProfile(loaded.currentProfile);
    host_.call([&](WorkerHost& host) { host.showProfileName(loaded.buttonText); });
}

// --- read back ---

bool DeviceWorkerCore::readBack(ReadBackKind kind) {
    state_.setConnected(0);
    showStoredBattery();

    std::optional<DeviceInfo> info = getDeviceInfo();
    if (!info && kind == ReadBackKind::Full) {
        info = getDeviceInfo();
        if (!info) {
            if (!pause(config_.delays.infoRetry)) {
                return false;
            }
            info = getDeviceInfo();
        }
    }
    const int type = state_.currentDeviceType();
    if (info) {
        state_.setSensor(info->sensor);
        state_.setConnected(info->connected);
        state_.setBattery(info->batteryStatus, info->batteryLevel);
        host_.call([&](WorkerHost& host) {
            host.showBattery(type, info->batteryLevel, info->batteryStatus);
        });
    }
    if (state_.connected() == 0) {
        hid::trace(2, "wireless device is not connected");
        if (info && manager().connectionKind() == kWirelessConnection) {
            // The receiver answered that its mouse is not linked: it is switched off or
            // out of range, so the pages of a connected mouse would show nothing true.
            wirelessMouseAway();
        } else {
            commandFailed();
        }
        return false;
    }
    if (!state_.markReadBack(type)) {
        return true; // read once in this run already
    }
    readSettings();
    if (kind == ReadBackKind::Full && !stopRequested() &&
        manager().connectionKind() == kWirelessConnection) {
        if (std::optional<QString> version = getReceiverVersion()) {
            state_.setReceiverVersion(*version);
            host_.call([&](WorkerHost& host) { host.showReceiverVersion(*version); });
        }
    }
    return true;
}

// Each answer the mouse gives is stored in the current profile; a read that fails
// leaves its settings as they were.
void DeviceWorkerCore::readSettings() {
    const int profile = state_.currentProfile();
    const SensorState sensor = state_.sensor();
    const std::function<void()> reads[] = {
        [] { beginRead(); },
        [&] { getReportRate(profile); },
        [&] { getDpi(profile, sensor); },
        [&] { getDpiColors(profile); },
        [&] {
            // A fresh store has no light rows yet: the defaults come first, so that the
            // mouse's mode and levels are kept in them (and the lighting page, finding
            // rows, does not put its default mode over the mouse's).
            if (state_.hasLighting()) {
                database().createDefaultLights(profile, state_.details().lightEffects);
            }
            int mode = 0;
            if (getLighting(profile, mode)) {
                state_.setCurrentLightMode(mode);
            }
        },
        [&] { getSensor(profile); },
        [&] { getPower(profile); },
    };
    for (const std::function<void()>& read : reads) {
        if (stopRequested()) {
            return;
        }
        read();
    }
}

// --- push ---

void DeviceWorkerCore::pushTask() {
    unsigned pages = Page::Buttons | Page::Performance;
    if (state_.hasLighting()) {
        pages |= Page::Lighting;
    }
    host_.call([pages](WorkerHost& host) { host.refreshPages(pages); });

    // A command the mouse refuses does not stop the ones after it.
    constexpr Task kSends[] = {
        &DeviceWorkerCore::sendButtonsWithAllMacros,
        &DeviceWorkerCore::lightingTask,
        &DeviceWorkerCore::sendDpiStages,
        &DeviceWorkerCore::dpiColorsTask,
        &DeviceWorkerCore::reportRateTask,
        &DeviceWorkerCore::sensorTask,
        &DeviceWorkerCore::powerTask,
    };
    for (Task send : kSends) {
        if (stopRequested()) {
            return;
        }
        (this->*send)();
    }
}

// --- factory reset ---

void DeviceWorkerCore::factoryResetTask() {
    sendFactoryReset();
    loadProfiles();

    store::ProfileDatabase& store = database();
    const QString attr = deviceAttrOf(state_.currentDeviceType());
    const bool lighting = state_.hasLighting();
    std::vector<store::ProfileRecord> profiles;
    store.listProfiles(profiles);
    for (const store::ProfileRecord& profile : profiles) {
        catalog::applyPerformanceDefaults(store, config_.exeFolder, attr, profile.id, false);
        store.deleteBindings(profile.id);
        if (lighting) {
            store.deleteLights(profile.id);
        }
    }
    if (!profiles.empty()) {
        const int first = profiles.front().id;
        store.setCurrentProfile(first);
        state_.setCurrentProfile(first);
        if (lighting) {
            store.createDefaultLights(first, state_.details().lightEffects);
            state_.setCurrentLightMode(store.getCurrentLightMode(first));
        }
        const QString word =
            host_.ask([](WorkerHost& host) { return host.profileWord(); }, QString());
        const QString title = store::profileButtonText(store, first, word);
        host_.call([&](WorkerHost& host) { host.showProfileName(title); });
    }
    host_.call([](WorkerHost& host) {
        host.refreshPages(Page::Buttons | Page::Macros);
        host.refreshPages(Page::Performance);
    });
    if (lighting) {
        resetLighting();
    }
}

// The mouse's lighting after a factory reset: reset it, ask which mode it took, and
// when that is not mode 4 reset it once more and take mode 4.
void DeviceWorkerCore::resetLighting() {
    constexpr int kFactoryLightMode = 4;
    const int profile = state_.currentProfile();
    if (!pause(config_.delays.lighting)) {
        return;
    }
    lightControl(LightControlParameter::Reset);
    if (!pause(config_.delays.lighting)) {
        return;
    }
    LightingState lighting;
    if (readLighting(lighting)) {
        int mode = lighting.mode;
        if (mode != kFactoryLightMode) {
            if (!pause(config_.delays.lightingRepeat)) {
                return;
            }
            lightControl(LightControlParameter::Reset);
            mode = kFactoryLightMode;
        }
        database().setCurrentLightMode(profile, mode);
        state_.setCurrentLightMode(mode);
    }
    host_.call([](WorkerHost& host) { host.refreshPages(Page::Lighting); });
}

// --- version and battery ---

void DeviceWorkerCore::showVersion() {
    hid::DeviceManager& devices = manager();
    VersionView version;
    version.receiverVersion = state_.receiverVersion();
    if (hid::HidDevice* handle = devices.currentHandle()) {
        for (const hid::ConnectedDevice& device : devices.devices()) {
            if (device.hid == handle) {
                version.firmwareRelease = device.releaseNumber;
                break;
            }
        }
    }
    host_.call([&](WorkerHost& host) { host.showVersion(version); });
}

void DeviceWorkerCore::showStoredBattery() {
    const int type = state_.currentDeviceType();
    const int level = state_.batteryLevel();
    const int status = state_.batteryStatus();
    host_.call([&](WorkerHost& host) { host.showBattery(type, level, status); });
}

} // namespace corvane::protocol
