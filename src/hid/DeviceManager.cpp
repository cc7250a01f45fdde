#include "hid/DeviceManager.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "hid/InterfaceRules.h"
#include "hid/SystemHidApi.h"
#include "hid/Trace.h"

namespace corvane::hid {

namespace {

constexpr int kTraceLevel = 2;
constexpr std::uint8_t kConnectionNotice = 0xC0;
constexpr std::uint8_t kLinked = 0x01;
constexpr std::size_t kIdentifierLength = 4;
constexpr std::size_t kIdentifierIndex = 4;
constexpr int kNotificationReadLength = 65;
constexpr int kWirelessReadLength = 33;
// How long refreshWirelessState waits for a connection notice on each interface.
constexpr int kWirelessTimeoutMs = 10;

using Clock = std::chrono::steady_clock;

const char* modeName(int mode) {
    return mode == kModeWired ? "USB" : "2.4G";
}

struct InstanceSlot {
    std::mutex mutex;
    std::shared_ptr<HidApi> api;
    std::unique_ptr<DeviceManager> manager;
    std::atomic<DeviceManager*> current{nullptr};
};

InstanceSlot& instanceSlot() {
    static InstanceSlot slot;
    return slot;
}

} // namespace

QString deviceIdFromInfo(const std::uint8_t* info) {
    QString text;
    for (std::size_t i = 0; i < kIdentifierLength; ++i) {
        const std::uint8_t byte = info[kIdentifierIndex + i];
        if (byte == 0) {
            break;
        }
        text.append(QChar::fromLatin1(static_cast<char>(byte)));
    }
    return text;
}

// --- the process-wide instance ---

DeviceManager& DeviceManager::instance() {
    InstanceSlot& slot = instanceSlot();
    if (DeviceManager* manager = slot.current.load(std::memory_order_acquire)) {
        return *manager;
    }
    std::lock_guard lock(slot.mutex);
    if (!slot.manager) {
        std::shared_ptr<HidApi> api = slot.api ? slot.api : std::make_shared<SystemHidApi>();
        slot.manager = std::make_unique<DeviceManager>(std::move(api));
        slot.current.store(slot.manager.get(), std::memory_order_release);
    }
    return *slot.manager;
}

void DeviceManager::installHidApi(std::shared_ptr<HidApi> api) {
    std::unique_ptr<DeviceManager> old;
    InstanceSlot& slot = instanceSlot();
    {
        std::lock_guard lock(slot.mutex);
        slot.current.store(nullptr, std::memory_order_release);
        old = std::move(slot.manager);
        slot.api = std::move(api);
    }
}

void DeviceManager::resetInstance() {
    std::unique_ptr<DeviceManager> old;
    InstanceSlot& slot = instanceSlot();
    std::lock_guard lock(slot.mutex);
    slot.current.store(nullptr, std::memory_order_release);
    old = std::move(slot.manager);
}

// --- life ---

DeviceManager::DeviceManager(std::shared_ptr<HidApi> api) : api_(std::move(api)) {
    hidReady_ = api_ && api_->init() == 0;
}

DeviceManager::~DeviceManager() {
    if (!api_) {
        return;
    }
    closeAll();
    closeBootloader();
    api_->exit();
}

void DeviceManager::setInfoRetryDelay(int milliseconds) {
    infoRetryDelayMs_.store(milliseconds < 0 ? 0 : milliseconds);
}

void DeviceManager::setInterrupted(bool interrupted) {
    {
        std::lock_guard lock(pauseMutex_);
        interrupted_.store(interrupted);
    }
    pauseChanged_.notify_all();
    std::vector<std::shared_ptr<InterfaceReader>> readers;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [handle, reader] : readers_) {
            readers.push_back(reader);
        }
    }
    for (const auto& reader : readers) {
        reader->wakeWaiters();
    }
}

void DeviceManager::setNoticeListener(std::function<void()> listener) {
    std::lock_guard lock(listenerMutex_);
    noticeListener_ = std::move(listener);
}

void DeviceManager::noticeHeld() {
    {
        std::lock_guard lock(noticeMutex_);
        ++noticeGeneration_;
    }
    noticeHeld_.notify_all();
    // Called under the lock so that a listener replaced or removed is never called after.
    std::lock_guard lock(listenerMutex_);
    if (noticeListener_) {
        noticeListener_();
    }
}

std::uint64_t DeviceManager::noticeGeneration() const {
    std::lock_guard lock(noticeMutex_);
    return noticeGeneration_;
}

void DeviceManager::waitForNotice(std::uint64_t seen, Clock::time_point deadline) {
    std::unique_lock lock(noticeMutex_);
    noticeHeld_.wait_until(lock, deadline, [&] { return noticeGeneration_ != seen; });
}

bool DeviceManager::takeNotice(HidDevice* handle, std::uint8_t* buffer, std::size_t length,
                               Clock::time_point deadline) {
    for (;;) {
        const std::uint64_t seen = noticeGeneration();
        if (notices_.take(handle, buffer, length)) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        waitForNotice(seen, deadline);
    }
}

void DeviceManager::startReader(HidDevice* handle, const ReportLayout& layout) {
    if (!backgroundReading_.load()) {
        return;
    }
    auto reader = std::make_shared<InterfaceReader>(*api_, handle, layout, notices_,
                                                    [this] { noticeHeld(); });
    std::lock_guard lock(mutex_);
    readers_[handle] = std::move(reader);
}

std::shared_ptr<InterfaceReader> DeviceManager::readerOf(HidDevice* handle) const {
    std::lock_guard lock(mutex_);
    const auto found = readers_.find(handle);
    return found == readers_.end() ? nullptr : found->second;
}

bool DeviceManager::pauseUnlessInterrupted(int milliseconds) {
    std::unique_lock lock(pauseMutex_);
    return !pauseChanged_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                   [this] { return interrupted_.load(); });
}

// --- exchanges ---

Channel DeviceManager::channel(HidDevice* handle, const ReportLayout& layout,
                               InterfaceReader* reader) {
    return Channel{*api_, handle, layout, &notices_, &interrupted_, reader};
}

ReportLayout DeviceManager::layoutOf(HidDevice* handle) const {
    std::lock_guard lock(mutex_);
    for (const ConnectedDevice& device : devices_) {
        if (handle && device.hid == handle) {
            return device.reports;
        }
    }
    return {};
}

bool DeviceManager::exchange(HidDevice* handle, std::uint8_t* buffer, std::size_t length) {
    const std::shared_ptr<InterfaceReader> reader = readerOf(handle);
    return exchangeReport(channel(handle, layoutOf(handle), reader.get()), buffer, length);
}

bool DeviceManager::readInfo(HidDevice* handle, std::uint8_t* info) {
    const std::shared_ptr<InterfaceReader> reader = readerOf(handle);
    return readDeviceInfo(channel(handle, layoutOf(handle), reader.get()), info);
}

ReportLayout DeviceManager::readLayout(HidDevice* handle) {
    std::vector<std::uint8_t> bytes(kMaxReportDescriptorSize);
    const int size = api_->get_report_descriptor(handle, bytes.data(), bytes.size());
    if (size <= 0) {
        return {};
    }
    const std::optional<ReportDescriptor> descriptor =
        parseReportDescriptor(bytes.data(), static_cast<std::size_t>(size));
    return descriptor ? commandLayout(*descriptor) : ReportLayout{};
}

std::vector<CommandInterface> DeviceManager::commandInterfaces() const {
    std::lock_guard lock(mutex_);
    return commandInterfaces_;
}

int DeviceManager::unopenedInterfaces() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(commandInterfaces_.begin(), commandInterfaces_.end(),
                                          [](const CommandInterface& i) { return !i.opened; }));
}

// --- the supported table ---

void DeviceManager::clearSupported() {
    std::lock_guard lock(mutex_);
    supported_.clear();
}

void DeviceManager::addSupportedInterface(const SupportedInterface& entry) {
    std::lock_guard lock(mutex_);
    supported_.push_back(entry);
}

std::vector<SupportedInterface> DeviceManager::supportedInterfaces() const {
    std::lock_guard lock(mutex_);
    return supported_;
}

bool DeviceManager::isSupported(int vendorId, int productId) const {
    std::lock_guard lock(mutex_);
    return isSupportedLocked(vendorId, productId);
}

int DeviceManager::modeOf(int vendorId, int productId) const {
    std::lock_guard lock(mutex_);
    return modeOfLocked(vendorId, productId);
}

int DeviceManager::identify(int vendorId, int productId, const QString& deviceIdText) const {
    std::lock_guard lock(mutex_);
    return identifyLocked(vendorId, productId, deviceIdText);
}

bool DeviceManager::isSupportedLocked(int vendorId, int productId) const {
    return std::any_of(supported_.begin(), supported_.end(), [&](const SupportedInterface& s) {
        return s.vendorId == vendorId && s.productId == productId;
    });
}

int DeviceManager::modeOfLocked(int vendorId, int productId) const {
    for (const SupportedInterface& s : supported_) {
        if (s.vendorId == vendorId && s.productId == productId) {
            return s.mode;
        }
    }
    return kModeWired;
}

int DeviceManager::identifyLocked(int vendorId, int productId, const QString& deviceIdText) const {
    for (const SupportedInterface& s : supported_) {
        if (s.vendorId != vendorId || s.productId != productId) {
            continue;
        }
        if (s.deviceId.size() < static_cast<qsizetype>(kIdentifierLength)) {
            return kGenericDeviceType;
        }
        if (s.deviceId == deviceIdText) {
            return s.deviceType;
        }
    }
    return 0;
}

// --- scanning ---

void DeviceManager::closeAll() {
    std::vector<ConnectedDevice> closing;
    std::map<HidDevice*, std::shared_ptr<InterfaceReader>> readers;
    {
        std::lock_guard lock(mutex_);
        closing.swap(devices_);
        readers.swap(readers_);
        currentHid_ = nullptr;
        ready_ = false;
    }
    // Every read ends before any handle closes: first ask them all, then wait for each.
    for (const auto& [handle, reader] : readers) {
        api_->cancel_reads(handle);
    }
    for (const auto& [handle, reader] : readers) {
        reader->stop();
    }
    for (ConnectedDevice& device : closing) {
        if (device.hid) {
            notices_.dropAll(device.hid);
            api_->close(device.hid);
        }
    }
}

bool DeviceManager::readInfoWithRetry(HidDevice* handle, const ReportLayout& layout,
                                      std::array<std::uint8_t, kReportBufferSize>& info) {
    const std::shared_ptr<InterfaceReader> reader = readerOf(handle);
    const Channel link = channel(handle, layout, reader.get());
    if (readDeviceInfo(link, info.data())) {
        return true;
    }
    return pauseUnlessInterrupted(infoRetryDelayMs_.load()) && readDeviceInfo(link, info.data());
}

int DeviceManager::EnumerateDevice() {
    trace(kTraceLevel, "========== EnumerateDevice Start ==========");
    std::vector<HidDeviceInfo> entries;
    if (hidReady_) {
        entries = api_->enumerate(0, 0);
    }
    trace(kTraceLevel, "Step 1: Quick scan - collecting basic device info");

    // The new entries stay private to this scan until each is appended under the lock.
    std::vector<ConnectedDevice> found;
    std::vector<CommandInterface> seen;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> bootloaders;
    bool hasUsb = false;
    for (const HidDeviceInfo& entry : entries) {
        int mode = kModeWired;
        {
            std::lock_guard lock(mutex_);
            if (!isSupportedLocked(entry.vendorId, entry.productId)) {
                continue;
            }
            mode = modeOfLocked(entry.vendorId, entry.productId);
        }
        if (isBootloaderUsage(entry.usagePage, entry.usage)) {
            const std::pair<std::uint16_t, std::uint16_t> pair{entry.vendorId, entry.productId};
            if (std::find(bootloaders.begin(), bootloaders.end(), pair) == bootloaders.end()) {
                bootloaders.push_back(pair);
            }
            continue;
        }
        if (!isCommandUsage(entry.usagePage, entry.usage)) {
            continue;
        }
        // hidraw lists a node once per top-level collection: open each node once.
        if (std::any_of(seen.begin(), seen.end(),
                        [&](const CommandInterface& i) { return i.path == entry.path; })) {
            continue;
        }
        CommandInterface candidate{entry.vendorId, entry.productId, entry.interfaceNumber,
                                   entry.path, false};
        HidDevice* handle = isInterrupted() ? nullptr : api_->open_path(entry.path);
        candidate.opened = handle != nullptr;
        seen.push_back(candidate);
        if (!handle) {
            trace(kTraceLevel, "  Cannot open %s (VID=0x%04X, PID=0x%04X, MI=%d)",
                  entry.path.c_str(), entry.vendorId, entry.productId, entry.interfaceNumber);
            continue;
        }
        ConnectedDevice device;
        device.index = static_cast<int>(found.size());
        device.vendorId = entry.vendorId;
        device.productId = entry.productId;
        device.path = entry.path;
        device.interfaceNumber = entry.interfaceNumber;
        device.hid = handle;
        device.reports = readLayout(handle);
        startReader(handle, device.reports);
        device.releaseNumber = entry.releaseNumber;
        device.deviceType = 0;
        device.mode = mode;
        device.onlineState = kOnline;
        trace(kTraceLevel, "  Found [%d]: VID=0x%04X, PID=0x%04X, Mode=%s", device.index,
              device.vendorId, device.productId, modeName(mode));
        const ReportLayout& layout = device.reports;
        if (layout.known) {
            trace(kTraceLevel,
                  "  [%d] Interface: %s, MI=%d, output report %zu bytes ID 0x%02X, input "
                  "report %zu bytes ID 0x%02X",
                  device.index, device.path.c_str(), device.interfaceNumber, layout.outputLength,
                  layout.outputId, layout.inputLength, layout.inputId);
        } else {
            trace(kTraceLevel,
                  "  [%d] Interface: %s, MI=%d, report descriptor not readable: reports go out "
                  "as made",
                  device.index, device.path.c_str(), device.interfaceNumber);
        }
        hasUsb = hasUsb || mode == kModeWired;
        found.push_back(std::move(device));
    }
    // A mouse running its firmware shows its command interface beside its bootloader's;
    // one waiting for a firmware shows the bootloader's alone.
    std::erase_if(bootloaders, [&](const std::pair<std::uint16_t, std::uint16_t>& pair) {
        return std::any_of(seen.begin(), seen.end(), [&](const CommandInterface& i) {
            return i.vendorId == pair.first && i.productId == pair.second;
        });
    });
    {
        std::lock_guard lock(mutex_);
        commandInterfaces_ = std::move(seen);
        strandedBootloaders_ = std::move(bootloaders);
    }
    entries.clear();

    if (hasUsb) {
        trace(kTraceLevel,
              "Step 2: USB device found, SKIP reading 2.4G details (reduce HID traffic)");
    } else {
        trace(kTraceLevel, "Step 2: No USB device, will read 2.4G device details");
    }

    for (ConnectedDevice& device : found) {
        const int i = device.index;
        bool readDetails = false;
        if (hasUsb && device.mode != kModeWired) {
            trace(kTraceLevel, "  [%d] 2.4G device - SKIP (USB exists)", i);
        } else if (hasUsb) {
            trace(kTraceLevel, "  [%d] USB device - reading details...", i);
            readDetails = true;
        } else if (device.mode == kModeWireless) {
            device.onlineState = kOnline;
            trace(kTraceLevel, "  [%d] 2.4G state: %s", i, "Online");
            trace(kTraceLevel, "  [%d] 2.4G device - reading details...", i);
            readDetails = true;
        }
        if (readDetails && device.onlineState > 0 && !isInterrupted()) {
            std::array<std::uint8_t, kReportBufferSize> info{};
            if (readInfoWithRetry(device.hid, device.reports, info)) {
                device.info = info;
                device.deviceIdText = deviceIdFromInfo(info.data());
                device.deviceType =
                    identify(device.vendorId, device.productId, device.deviceIdText);
                trace(kTraceLevel, "  [%d] DeviceId: %s, DeviceType: %d", i,
                      device.deviceIdText.toLatin1().constData(), device.deviceType);
            }
        }
        trace(kTraceLevel, "  [%d] Final: VID=0x%04X, PID=0x%04X, Type=%d, Mode=%d", i,
              device.vendorId, device.productId, device.deviceType, device.mode);
        std::lock_guard lock(mutex_);
        devices_.push_back(std::move(device));
    }

    int total = 0;
    {
        std::lock_guard lock(mutex_);
        total = static_cast<int>(devices_.size());
    }
    trace(kTraceLevel, "========== EnumerateDevice Complete! Total=%d, HasUSB=%s ==========", total,
          hasUsb ? "YES" : "NO");
    return total;
}

int DeviceManager::rescan() {
    closeAll();
    const int total = EnumerateDevice();
    std::lock_guard lock(mutex_);
    ready_ = true;
    return total;
}

bool DeviceManager::isReady() const {
    std::lock_guard lock(mutex_);
    return ready_;
}

// --- the current device ---

void DeviceManager::selectType(int type) {
    std::lock_guard lock(mutex_);
    currentType_ = type;
    currentHid_ = nullptr;
}

int DeviceManager::currentType() const {
    std::lock_guard lock(mutex_);
    return currentType_;
}

void DeviceManager::clearCurrent() {
    std::lock_guard lock(mutex_);
    currentHid_ = nullptr;
}

HidDevice* DeviceManager::currentHandle() {
    std::lock_guard lock(mutex_);
    return currentHandleLocked();
}

HidDevice* DeviceManager::currentHandleLocked() {
    if (currentHid_) {
        return currentHid_;
    }
    for (const ConnectedDevice& device : devices_) {
        if (device.deviceType == currentType_ && device.mode == kModeWired) {
            currentHid_ = device.hid;
            return currentHid_;
        }
    }
    // Only the first wireless device of the type counts, and only while it is online.
    for (const ConnectedDevice& device : devices_) {
        if (device.deviceType == currentType_ && device.mode == kModeWireless) {
            if (device.onlineState == kOnline) {
                currentHid_ = device.hid;
            }
            return currentHid_;
        }
    }
    return nullptr;
}

ConnectedDevice* DeviceManager::findLocked(HidDevice* handle) {
    for (ConnectedDevice& device : devices_) {
        if (handle && device.hid == handle) {
            return &device;
        }
    }
    return nullptr;
}

int DeviceManager::connectionKind() const {
    std::lock_guard lock(mutex_);
    bool wireless = false;
    for (const ConnectedDevice& device : devices_) {
        if (device.deviceType != currentType_) {
            continue;
        }
        if (device.mode == kModeWired) {
            return 0;
        }
        wireless = wireless || device.mode == kModeWireless;
    }
    return wireless ? 1 : -1;
}

bool DeviceManager::currentVidPid(int& vendorId, int& productId) {
    std::lock_guard lock(mutex_);
    const ConnectedDevice* device = findLocked(currentHandleLocked());
    if (!device) {
        return false;
    }
    vendorId = device->vendorId;
    productId = device->productId;
    return true;
}

void DeviceManager::collectOfCurrentType(std::vector<ConnectedDevice>& list,
                                         bool onlineOnly) const {
    std::lock_guard lock(mutex_);
    list.clear();
    for (const ConnectedDevice& device : devices_) {
        if (currentType_ != 0 && device.deviceType != currentType_) {
            continue;
        }
        if (onlineOnly && device.onlineState != kOnline) {
            continue;
        }
        list.push_back(device);
    }
}

bool DeviceManager::devicesOfCurrentType(std::vector<ConnectedDevice>& list) const {
    collectOfCurrentType(list, false);
    return !list.empty();
}

bool DeviceManager::onlineDevicesOfCurrentType(std::vector<ConnectedDevice>& list) const {
    collectOfCurrentType(list, true);
    return !list.empty();
}

std::vector<ConnectedDevice> DeviceManager::devices() const {
    std::lock_guard lock(mutex_);
    return devices_;
}

void DeviceManager::setOnlineState(int type, int mode, int state) {
    std::lock_guard lock(mutex_);
    setOnlineStateLocked(type, mode, state);
}

void DeviceManager::setOnlineStateLocked(int type, int mode, int state) {
    for (ConnectedDevice& device : devices_) {
        if (device.deviceType == type && device.mode == mode) {
            device.onlineState = state;
        }
    }
}

bool DeviceManager::releaseOfMode(int mode, int& release) const {
    std::lock_guard lock(mutex_);
    if (!ready_) {
        return false;
    }
    for (const ConnectedDevice& device : devices_) {
        if (device.mode == mode) {
            release = device.releaseNumber;
            return true;
        }
    }
    return false;
}

bool DeviceManager::hasIdentifiedDevice(int type) const {
    std::lock_guard lock(mutex_);
    return std::any_of(devices_.begin(), devices_.end(), [&](const ConnectedDevice& d) {
        return d.deviceType == type && !d.deviceIdText.isEmpty() && d.onlineState > 0;
    });
}

// --- notifications ---

void DeviceManager::applyInfo(HidDevice* handle,
                              const std::array<std::uint8_t, kReportBufferSize>& info) {
    std::lock_guard lock(mutex_);
    ConnectedDevice* device = findLocked(handle);
    if (!device) {
        return;
    }
    device->info = info;
    device->deviceIdText = deviceIdFromInfo(info.data());
    device->deviceType = identifyLocked(device->vendorId, device->productId, device->deviceIdText);
}

bool DeviceManager::noticeWaiting() {
    HidDevice* current = nullptr;
    std::vector<HidDevice*> wireless;
    {
        std::lock_guard lock(mutex_);
        if (!ready_) {
            return false;
        }
        current = currentHandleLocked();
        if (!current) {
            for (const ConnectedDevice& device : devices_) {
                if (device.mode == kModeWireless && device.hid) {
                    wireless.push_back(device.hid);
                }
            }
        }
    }
    if (current) {
        return notices_.count(current) > 0;
    }
    return std::any_of(wireless.begin(), wireless.end(),
                       [this](HidDevice* handle) { return notices_.count(handle) > 0; });
}

bool DeviceManager::pollNotification(std::uint8_t* buffer, int& type, PollOutcome* outcome,
                                     int waitMs) {
    PollOutcome ignored = PollOutcome::NothingToPoll;
    PollOutcome& result = outcome ? *outcome : ignored;
    result = PollOutcome::NothingToPoll;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    HidDevice* current = nullptr;
    std::vector<std::pair<HidDevice*, ReportLayout>> wireless;
    {
        std::lock_guard lock(mutex_);
        if (!ready_ || !buffer) {
            return false;
        }
        type = currentType_;
        current = currentHandleLocked();
        if (!current) {
            for (const ConnectedDevice& device : devices_) {
                if (device.mode == kModeWireless && device.hid) {
                    wireless.emplace_back(device.hid, device.reports);
                }
            }
        }
    }
    const auto readerEnded = [this](HidDevice* handle) {
        const std::shared_ptr<InterfaceReader> reader = readerOf(handle);
        return !reader || reader->failed();
    };
    if (current) {
        if (takeNotice(current, buffer, kNotificationReadLength, deadline)) {
            result = PollOutcome::Delivered;
            return true;
        }
        result = readerEnded(current) ? PollOutcome::Failed : PollOutcome::Quiet;
        return false;
    }
    if (wireless.empty()) {
        return false;
    }

    std::array<std::uint8_t, kReportBufferSize> report{};
    HidDevice* handle = nullptr;
    ReportLayout layout;
    for (;;) {
        const std::uint64_t seen = noticeGeneration();
        for (const auto& [candidate, candidateLayout] : wireless) {
            if (notices_.take(candidate, report.data(), kWirelessReadLength)) {
                handle = candidate;
                layout = candidateLayout;
                break;
            }
        }
        if (handle || Clock::now() >= deadline) {
            break;
        }
        waitForNotice(seen, deadline);
    }
    if (!handle) {
        const bool allEnded = std::all_of(wireless.begin(), wireless.end(), [&](const auto& entry) {
            return readerEnded(entry.first);
        });
        result = allEnded ? PollOutcome::Failed : PollOutcome::Quiet;
        return false;
    }
    result = PollOutcome::Delivered;
    if (report[0] == kConnectionNotice) {
        int state = kOfflineByNotice;
        if (report[1] == kLinked) {
            state = kOnline;
            {
                std::lock_guard lock(mutex_);
                if (ConnectedDevice* device = findLocked(handle)) {
                    device->onlineState = kOnline;
                }
            }
            std::array<std::uint8_t, kReportBufferSize> info{};
            if (readInfoWithRetry(handle, layout, info)) {
                applyInfo(handle, info);
            }
        }
        std::lock_guard lock(mutex_);
        if (ConnectedDevice* device = findLocked(handle)) {
            device->onlineState = state;
            setOnlineStateLocked(device->deviceType, device->mode, state);
        }
    }
    {
        // The type as it stands now, so a mouse identified by this notice is named.
        std::lock_guard lock(mutex_);
        if (const ConnectedDevice* device = findLocked(handle)) {
            type = device->deviceType;
        }
    }
    std::copy(report.begin(), report.end(), buffer);
    return false;
}

void DeviceManager::refreshWirelessState() {
    std::vector<HidDevice*> handles;
    {
        std::lock_guard lock(mutex_);
        for (const ConnectedDevice& device : devices_) {
            if (device.deviceType == currentType_ && device.mode == kModeWireless && device.hid) {
                handles.push_back(device.hid);
            }
        }
    }
    for (HidDevice* handle : handles) {
        std::array<std::uint8_t, kReportBufferSize> report{};
        const Clock::time_point deadline =
            Clock::now() + std::chrono::milliseconds(kWirelessTimeoutMs);
        if (!takeNotice(handle, report.data(), kWirelessReadLength, deadline) ||
            report[0] != kConnectionNotice) {
            continue;
        }
        const int state = report[1] == kLinked ? kOnline : kOfflineByRefresh;
        std::lock_guard lock(mutex_);
        if (const ConnectedDevice* device = findLocked(handle)) {
            setOnlineStateLocked(device->deviceType, device->mode, state);
        }
    }
}

// --- the bootloader ---

HidDevice* DeviceManager::openBootloader(int vendorId, int productId) {
    closeBootloader();
    if (!hidReady_) {
        return nullptr;
    }
    for (const HidDeviceInfo& entry : api_->enumerate(0, 0)) {
        if (entry.vendorId != vendorId || entry.productId != productId ||
            !isBootloaderUsage(entry.usagePage, entry.usage)) {
            continue;
        }
        if (HidDevice* handle = api_->open_path(entry.path)) {
            std::lock_guard lock(mutex_);
            bootloaderHid_ = handle;
            return handle;
        }
    }
    return nullptr;
}

std::vector<std::pair<std::uint16_t, std::uint16_t>> DeviceManager::strandedBootloaders() const {
    std::lock_guard lock(mutex_);
    return strandedBootloaders_;
}

HidDevice* DeviceManager::bootloaderHandle() const {
    std::lock_guard lock(mutex_);
    return bootloaderHid_;
}

void DeviceManager::closeBootloader() {
    HidDevice* handle = nullptr;
    {
        std::lock_guard lock(mutex_);
        handle = bootloaderHid_;
        bootloaderHid_ = nullptr;
    }
    if (handle) {
        api_->close(handle);
    }
}

} // namespace corvane::hid
