// What the device worker does between tasks: it reads the mouse's notices (the DPI
// button, the wireless mouse linking and unlinking) and keeps the store and the window
// in step with them. Also the handling of commands the mouse did not accept.
#include "protocol/worker/DeviceWorkerCore.h"

#include <algorithm>
#include <array>

#include "hid/DeviceManager.h"
#include "hid/ReportExchange.h"
#include "hid/Trace.h"
#include "protocol/commands/PerformanceCommands.h"
#include "protocol/transport/Commands.h"
#include "protocol/transport/SettingValues.h"
#include "store/ProfileDatabase.h"
#include "store/ValueRules.h"

namespace corvane::protocol {

namespace {

constexpr std::uint8_t kLinked = 0x01;
constexpr int kWireless = 1;

bool anyDeviceOnline(const hid::DeviceManager& devices) {
    for (const hid::ConnectedDevice& device : devices.devices()) {
        if (device.deviceType > 0 && device.onlineState == hid::kOnline) {
            return true;
        }
    }
    return false;
}

} // namespace

// Woken by a notice the readers hold (or by a task): hands one over without reading.
void DeviceWorkerCore::idleStep() {
    std::array<std::uint8_t, hid::kReportBufferSize> report{};
    int type = 0;
    hid::DeviceManager::instance().pollNotification(report.data(), type);
    if (report[0] == 0) {
        return;
    }
    hid::trace(2, "mouse notify data: %02X %02X %02X %02X %02X %02X", report[0], report[1],
               report[2], report[3], report[4], report[5]);
    if (report[0] == kDpiNotice) {
        // Stages belong to the current type's store; another type's mouse is ignored.
        if (type == 0 || type == state_.currentDeviceType()) {
            dpiNotice(report[1]);
        }
    } else if (report[0] == kConnectionNotice) {
        connectionNotice(report.data(), type);
    }
}

// The user pressed the mouse's DPI button: B1 = (active stage << 4) | stage count.
// What the performance page shows follows the store: the count is dpi_count and the
// active stage dpi_index, or stage 0 when dpi_index is not below the count.
void DeviceWorkerCore::dpiNotice(std::uint8_t stages) {
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    const int profile = state_.currentProfile();
    const int count = stages & 0x0F;
    const int active = stages >> 4;
    if (!store::isStageIndex(active, count)) {
        // A garbled notice (no stages, more than six, the active one beyond them) would
        // leave the store with stages no page can lay out.
        hid::trace(2, "DPI notice with %d stages, stage %d active: ignored", count, active);
        return;
    }
    bool countChanged = false;
    bool stageChanged = false;
    int dpi = 0;
    {
        // One step against the page writing the same settings meanwhile.
        std::lock_guard lock(database.mutex());
        if (count != database.getSettingInt(profile, keys::dpiCount)) {
            database.setSetting(profile, keys::dpiCount, count);
            countChanged = true;
        }
        const int index = database.getSettingInt(profile, keys::dpiIndex);
        const int shownActive = index >= 0 && index < count ? index : 0;
        if (active != shownActive) {
            database.setSetting(profile, keys::dpiIndex, active);
            dpi = database.getSettingInt(profile, QStringLiteral("dpi_group%1_value").arg(active));
            stageChanged = true;
        }
    }
    const bool popup = state_.details().showDpiTips;
    host_.call([&](WorkerHost& host) {
        if (countChanged) {
            host.showStageCount(count);
        }
        if (stageChanged) {
            host.showActiveStage(active, dpi, popup);
        }
    });
}

// Where nobody took the mouse's notices (corvanectl's own worker), the DPI button may
// have moved the active stage since the store last heard of it: the mouse is asked and
// its answer handled as the notice it would have sent. A mouse that does not answer
// leaves the store as it is.
void DeviceWorkerCore::followMouseStageTask() {
    if (state_.connected() == 0) {
        return; // nothing settled, or the wireless mouse is away
    }
    if (const std::optional<std::uint8_t> stages = getDpiStages()) {
        dpiNotice(*stages);
    }
}

// The receiver tells that its mouse linked (B1 = 0x01) or went away; B2 and B3 carry
// the battery level and status when B2 is not 0.
void DeviceWorkerCore::connectionNotice(const std::uint8_t* report, int deviceType) {
    hid::DeviceManager& devices = hid::DeviceManager::instance();
    const bool linked = report[1] == kLinked;
    hid::trace(2, "mouse connection state: %s", linked ? "linked" : "not linked");
    host_.call([](WorkerHost& host) { host.closePopups(); });

    if (linked) {
        state_.setConnectionShown(true);
        const int kind = devices.connectionKind();
        devices.setOnlineState(deviceType, kind, hid::kOnline);
        host_.call([&](WorkerHost& host) {
            host.showConnectionText(kind == kWireless ? ConnectionText::Wireless
                                                      : ConnectionText::Wired);
            host.setDeviceState(deviceType, kind, hid::kOnline);
            host.showConfigurationPages();
        });
        relinkSequence();
    } else {
        state_.setConnectionShown(false);
        devices.setOnlineState(deviceType, kWireless, hid::kOfflineByNotice);
        host_.call([&](WorkerHost& host) {
            host.showConnectionText(ConnectionText::NoDevice);
            host.setDeviceState(deviceType, kWireless, hid::kOfflineByNotice);
        });
        devices.refreshWirelessState();
        const bool online = anyDeviceOnline(devices);
        host_.call([online](WorkerHost& host) {
            host.macroRecorderUnlinked();
            if (!online) {
                host.showNoDeviceView();
            }
        });
    }

    const int level = report[2];
    if (level != 0) {
        const int status = report[3];
        state_.setConnected(report[1]);
        state_.setBattery(status, level);
        host_.call([&](WorkerHost& host) { host.showBattery(deviceType, level, status); });
    }
}

void DeviceWorkerCore::wirelessMouseAway() {
    hid::DeviceManager& devices = hid::DeviceManager::instance();
    const int type = state_.currentDeviceType();
    state_.setConnectionShown(false);
    // Not reachable: no command goes to it until the receiver says it linked again.
    devices.setOnlineState(type, kWireless, hid::kOfflineByNotice);
    const bool online = anyDeviceOnline(devices);
    host_.call([&](WorkerHost& host) {
        host.closePopups();
        host.showConnectionText(ConnectionText::NoDevice);
        host.setDeviceState(type, kWireless, hid::kOfflineByNotice);
        if (!online) {
            host.showNoDeviceView();
        }
    });
}

// A command was not accepted, or the read-back found the wireless mouse away. Over a
// receiver the receiver itself is still there: the device list keeps the type online
// through its wireless entry and the connected state stays shown. Over a cable
// nothing is done.
void DeviceWorkerCore::commandFailed() {
    hid::DeviceManager& devices = hid::DeviceManager::instance();
    if (devices.connectionKind() != kWireless) {
        return;
    }
    const int type = state_.currentDeviceType();
    const bool wasShown = state_.connectionShown();
    state_.setConnectionShown(true);
    host_.call([&](WorkerHost& host) {
        host.closePopups();
        host.setDeviceState(type, kWireless, hid::kOnline);
        if (!wasShown) {
            host.showConnectionText(devices.connectionKind() == kWireless ? ConnectionText::Wireless
                                                                          : ConnectionText::Wired);
        }
    });
}

} // namespace corvane::protocol
