#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <QString>

#include "hid/HeldNotices.h"
#include "hid/HidApi.h"
#include "hid/InterfaceReader.h"
#include "hid/ReportDescriptor.h"
#include "hid/ReportExchange.h"

namespace corvane::hid {

inline constexpr int kModeWired = 0;
inline constexpr int kModeWireless = 1;

inline constexpr int kOfflineByNotice = 0; // a poll read "not linked"
inline constexpr int kOnline = 1;
inline constexpr int kOfflineByRefresh = 2; // refreshWirelessState read "not linked"

// Device type of a device whose catalog entry carries no usable identifier.
inline constexpr int kGenericDeviceType = 101;

// Pause before the second GetInfo attempt on a device that did not answer the first.
inline constexpr int kInfoRetryDelayMs = 500;

// One interface the catalog supports (one `mode` element of a device description).
struct SupportedInterface {
    int vendorId = 0;
    int productId = 0;
    QString name; // always empty
    int deviceType = 0;
    int mode = kModeWired;
    QString deviceId;
};

// One command interface opened by a scan. The manager's own entry owns `hid`; the
// copies handed out by the queries only name it (never close it, and never use it
// after the next closeAll).
struct ConnectedDevice {
    int index = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string path;         // kept whole, however long
    int interfaceNumber = -1; // the USB interface, -1 when not known
    HidDevice* hid = nullptr;
    ReportLayout reports; // from the report descriptor read when it was opened
    int releaseNumber = 0;
    int deviceType = 0; // 0 until identified
    int mode = kModeWired;
    int onlineState = kOnline;
    QString deviceIdText;                               // empty until GetInfo answered
    std::array<std::uint8_t, kReportBufferSize> info{}; // last accepted GetInfo answer
};

// How a notification poll went.
enum class PollOutcome {
    NothingToPoll, // not ready, or no interface that could carry a notice
    Quiet,         // nothing has come
    Delivered,     // a report was delivered
    Failed,        // every reader ended (a handle whose device is gone)
};

// A supported command interface the last scan saw, opened or not.
struct CommandInterface {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    int interfaceNumber = -1;
    std::string path;
    bool opened = false;
};

// Owns every open command interface, knows which device type is current and which
// interface commands go to, and tracks the link state of wireless mice. It also owns
// what belongs to those handles: their readers and the notices held for them.
//
// Threads: scans, polls, the bootloader and closeAll do HID I/O and run on the device
// worker only. The queries and selectType may be called from any thread. One mutex
// guards the lists; it is never held across a HID read or write. Each command interface
// opened by a scan gets its InterfaceReader (unless background reading is off): the
// only thread that reads it. closeAll stops the readers before it closes the handles.
class DeviceManager {
public:
    // The process-wide manager, created on first use with the HidApi installed by
    // installHidApi (the system's hidapi when none was installed).
    static DeviceManager& instance();
    // Destroys the process-wide manager (if any) and makes the next instance() use
    // `api` (nullptr: the system's hidapi). Not to be called while another thread
    // uses the manager; meant for start-up and for tests.
    static void installHidApi(std::shared_ptr<HidApi> api);
    // Destroys the process-wide manager; the next instance() creates a fresh one
    // with the HidApi last installed. Same restriction as installHidApi.
    static void resetInstance();

    // Initialises the HID layer; a failure leaves every scan empty.
    explicit DeviceManager(std::shared_ptr<HidApi> api);
    // Closes every handle, then releases the HID layer.
    ~DeviceManager();
    DeviceManager(const DeviceManager&) = delete;
    DeviceManager& operator=(const DeviceManager&) = delete;

    HidApi& hidApi() { return *api_; }

    // The pause before a second GetInfo attempt (kInfoRetryDelayMs unless changed; a
    // fuzzer that makes every answer fail shortens it).
    void setInfoRetryDelay(int milliseconds);

    // While set, every exchange and scan ends at its next read or step, failed, and
    // pauses end at once: the device worker sets it when it is asked to stop, so that
    // a stop never waits for a mouse that does not answer. Any thread.
    void setInterrupted(bool interrupted);
    bool isInterrupted() const { return interrupted_.load(); }

    // Whether the interfaces opened by later scans get a reader (the default). Without
    // one, an exchange reads the handle itself and no notice is read between them: a
    // process that runs one command has no use for a thread per interface.
    void setBackgroundReading(bool on) { backgroundReading_.store(on); }
    // Called on a reader's thread each time a notice has been held: the device worker
    // wakes up for it. Once this returns with another listener (or none), the previous
    // one is not called again. Any thread.
    void setNoticeListener(std::function<void()> listener);
    // True when pollNotification would deliver a notice held right now.
    bool noticeWaiting();

    // One request-answer exchange (ReportExchange.h) on a listed interface, framed by
    // the layout read from its descriptor; notices read meanwhile are held for it.
    bool exchange(HidDevice* handle, std::uint8_t* buffer, std::size_t length);
    // GetInfo on a listed interface.
    bool readInfo(HidDevice* handle, std::uint8_t* info);
    // The layout of a listed interface (unknown for any other handle).
    ReportLayout layoutOf(HidDevice* handle) const;
    HeldNotices& heldNotices() { return notices_; }

    // The supported command interfaces the last scan came across, in enumeration order,
    // whether or not they opened.
    std::vector<CommandInterface> commandInterfaces() const;
    // How many of them did not open (most often: no permission on the hidraw node).
    int unopenedInterfaces() const;

    // The supported table, in catalog order.
    void clearSupported();
    void addSupportedInterface(const SupportedInterface& entry);
    std::vector<SupportedInterface> supportedInterfaces() const;
    bool isSupported(int vendorId, int productId) const;
    int modeOf(int vendorId, int productId) const;
    // Among the entries with this pair, in order: the first whose deviceId is shorter
    // than four characters gives 101, the first whose deviceId equals deviceIdText
    // gives its deviceType, whichever comes first; no match gives 0.
    int identify(int vendorId, int productId, const QString& deviceIdText) const;

    // Closes and discards every listed device; clears ready and the current interface.
    void closeAll();
    // Scans the attached interfaces, opens the supported command interfaces, reads the
    // details of the ones worth reading and appends them. Returns the list size.
    int EnumerateDevice();
    // The manager's part of a refresh: forget the current interface, closeAll,
    // EnumerateDevice, then ready. Returns the list size.
    int rescan();
    bool isReady() const;

    void selectType(int type);
    int currentType() const;
    // The interface commands go to: the first wired device of the current type, else the
    // first wireless one while it is online. The choice is cached until selectType,
    // clearCurrent or closeAll.
    HidDevice* currentHandle();
    void clearCurrent();
    // 0 when a wired device of the current type is listed, else 1 when a wireless one
    // is, else -1.
    int connectionKind() const;
    bool currentVidPid(int& vendorId, int& productId);
    bool devicesOfCurrentType(std::vector<ConnectedDevice>& list) const;
    bool onlineDevicesOfCurrentType(std::vector<ConnectedDevice>& list) const;
    std::vector<ConnectedDevice> devices() const;
    void setOnlineState(int type, int mode, int state);
    bool releaseOfMode(int mode, int& release) const;
    bool hasIdentifiedDevice(int type) const;

    // Hands over one notice the readers hold into `buffer` (65 bytes), waiting up to
    // `waitMs` for one to arrive (0: only what is held already). On the current
    // interface: returns true when one was there. Without one: takes the first held on a
    // wireless interface, applies a connection notice to the device's online state
    // (reading its details again when it links), copies the report into `buffer` and
    // returns false. `type` receives the device type concerned. `outcome`, when given,
    // tells how the poll went. Nothing is read here: the readers have done it.
    bool pollNotification(std::uint8_t* buffer, int& type, PollOutcome* outcome = nullptr,
                          int waitMs = 0);
    // Takes the connection notices the wireless interfaces of the current type hold
    // (waiting a moment for each) and applies them.
    void refreshWirelessState();

    // Opens the first bootloader interface of this pair that opens and keeps it in the
    // bootloader slot (closing one kept before). nullptr when there is none.
    HidDevice* openBootloader(int vendorId, int productId);
    HidDevice* bootloaderHandle() const;
    void closeBootloader();
    // Supported vendor/product pairs whose bootloader interface the last scan found
    // without any command interface of the pair: a mouse that was left waiting for its
    // firmware (power lost or unplugged while it was written), in enumeration order.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> strandedBootloaders() const;

private:
    bool isSupportedLocked(int vendorId, int productId) const;
    int modeOfLocked(int vendorId, int productId) const;
    int identifyLocked(int vendorId, int productId, const QString& deviceIdText) const;
    HidDevice* currentHandleLocked();
    ConnectedDevice* findLocked(HidDevice* handle);
    void setOnlineStateLocked(int type, int mode, int state);
    void collectOfCurrentType(std::vector<ConnectedDevice>& list, bool onlineOnly) const;
    bool readInfoWithRetry(HidDevice* handle, const ReportLayout& layout,
                           std::array<std::uint8_t, kReportBufferSize>& info);
    Channel channel(HidDevice* handle, const ReportLayout& layout, InterfaceReader* reader);
    std::shared_ptr<InterfaceReader> readerOf(HidDevice* handle) const;
    // Starts the reader of a handle just opened (when background reading is on).
    void startReader(HidDevice* handle, const ReportLayout& layout);
    // A reader held a notice: wakes pollNotification's wait and the listener.
    void noticeHeld();
    // Takes the oldest notice held for `handle`, waiting until `deadline` for one.
    bool takeNotice(HidDevice* handle, std::uint8_t* buffer, std::size_t length,
                    std::chrono::steady_clock::time_point deadline);
    // Waits until a notice is held after generation `seen`, or the deadline.
    void waitForNotice(std::uint64_t seen, std::chrono::steady_clock::time_point deadline);
    std::uint64_t noticeGeneration() const;
    // Reads the interface's report descriptor and takes the command collection's layout.
    ReportLayout readLayout(HidDevice* handle);
    // Sleeps unless interrupted meanwhile; false when interrupted.
    bool pauseUnlessInterrupted(int milliseconds);
    // Stores a GetInfo answer in the device of this handle and identifies it.
    void applyInfo(HidDevice* handle, const std::array<std::uint8_t, kReportBufferSize>& info);

    std::shared_ptr<HidApi> api_;
    bool hidReady_ = false; // init succeeded
    std::atomic<int> infoRetryDelayMs_{kInfoRetryDelayMs};
    std::atomic<bool> interrupted_{false};
    std::mutex pauseMutex_;
    std::condition_variable pauseChanged_;
    HeldNotices notices_;
    std::atomic<bool> backgroundReading_{true};
    mutable std::mutex noticeMutex_;
    std::condition_variable noticeHeld_;
    std::uint64_t noticeGeneration_ = 0; // notices held so far (noticeMutex_)
    std::mutex listenerMutex_;
    std::function<void()> noticeListener_;

    mutable std::mutex mutex_;
    std::map<HidDevice*, std::shared_ptr<InterfaceReader>> readers_;
    bool ready_ = false;
    std::vector<ConnectedDevice> devices_;
    std::vector<SupportedInterface> supported_;
    int currentType_ = 0;
    HidDevice* currentHid_ = nullptr;
    HidDevice* bootloaderHid_ = nullptr;
    std::vector<CommandInterface> commandInterfaces_;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> strandedBootloaders_;
};

// The identifier text of a GetInfo answer: answer bytes 4..7, up to the first zero byte.
QString deviceIdFromInfo(const std::uint8_t* info);

} // namespace corvane::hid
