#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>

#include <QString>

#include "catalog/DeviceDetails.h"
#include "protocol/codec/SensorTable.h"

namespace corvane::protocol {

// The macro downloads the pages asked for: the buttons whose macros must go out with
// the next button task (a macro was assigned to them, or the macro they play changed).
struct MacroRequest {
    std::set<int> buttons;
    bool pending() const { return !buttons.empty(); }
};

// What the device worker knows about the mouse and the current device, shared with
// the UI thread. The worker writes it (except where noted); any thread may read it.
// Single values are atomics; the few compound ones sit behind one small lock.
class WorkerState {
public:
    // --- flags the window reads ---
    // The last scan found a device: the worker takes the mouse's notices when idle.
    bool idlePolling() const { return idlePolling_.load(); }
    void setIdlePolling(bool on) { idlePolling_.store(on); }
    // The connected state (text 51 or 52, configuration pages) is shown.
    bool connectionShown() const { return connectionShown_.load(); }
    void setConnectionShown(bool shown) { connectionShown_.store(shown); }
    int currentDeviceType() const { return currentDeviceType_.load(); }
    void setCurrentDeviceType(int type) { currentDeviceType_.store(type); }
    // The profile the pages edit and the worker sends. The window sets it on a profile
    // switch (after making it current in the store) and then queues the push.
    int currentProfile() const { return currentProfile_.load(); }
    void setCurrentProfile(int profile) { currentProfile_.store(profile); }

    // --- the mouse, from GetInfo and the connection notices ---
    int connected() const { return connected_.load(); }
    void setConnected(int connected) { connected_.store(connected); }
    int batteryStatus() const { return batteryStatus_.load(); }
    int batteryLevel() const { return batteryLevel_.load(); }
    void setBattery(int status, int level);
    // The sensor, its DPI limits and the report-rate capability of the last GetInfo
    // (the fallback row's limits and capability 0 before the first one).
    SensorState sensor() const;
    void setSensor(const SensorState& sensor);
    int sensorId() const { return sensor().sensorId; }
    int rateCapability() const { return sensor().rateCapability; }
    QString receiverVersion() const;
    void setReceiverVersion(const QString& version);

    // Write commands the mouse did not accept (or that did not reach it) so far; a
    // caller that queued a change compares the count before and after its task.
    std::uint64_t rejectedWrites() const { return rejectedWrites_.load(); }
    void noteRejectedWrite() { ++rejectedWrites_; }

    // --- device types read back in this run ---
    bool readBackDone(int deviceType) const;
    // Adds the type; false when it was there already.
    bool markReadBack(int deviceType);
    // The user confirmed a factory reset (settings page): read every type again.
    void clearReadBackDone();

    // --- macro download (set by the button page on the UI thread) ---
    // A macro was assigned to `button` (or the macro it plays changed): the next button
    // task downloads it, with every other button asked for since the last one. A
    // negative button is no button.
    void requestMacroDownload(int button);
    // Returns the buttons asked for and clears them.
    MacroRequest takeMacroRequest();
    MacroRequest macroRequest() const;

    // --- the current device type's description and lighting ---
    bool hasLighting() const { return hasLighting_.load(); }
    catalog::DeviceDetails details() const;
    void setDetails(const catalog::DeviceDetails& details);
    int currentLightMode() const { return currentLightMode_.load(); }
    void setCurrentLightMode(int mode) { currentLightMode_.store(mode); }

private:
    std::atomic<bool> idlePolling_{false};
    std::atomic<bool> connectionShown_{false};
    std::atomic<int> currentDeviceType_{0};
    std::atomic<int> currentProfile_{0};
    std::atomic<int> connected_{0};
    std::atomic<int> batteryStatus_{0};
    std::atomic<int> batteryLevel_{0};
    std::atomic<bool> hasLighting_{false};
    std::atomic<int> currentLightMode_{0};
    std::atomic<std::uint64_t> rejectedWrites_{0};

    mutable std::mutex mutex_; // the members below
    SensorState sensor_;
    QString receiverVersion_;
    std::set<int> readBackDone_;
    MacroRequest macro_;
    catalog::DeviceDetails details_;
};

} // namespace corvane::protocol
