#include "virtualmouse/VirtualDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace corvane::vm {

using Clock = VirtualHandle::Clock;

struct VirtualDevice::Interface {
    InterfaceLayout layout;
    int number = 0;
    std::string path;
    bool failOpen = false;
    int failWrites = 0;
    int passBeforeFailing = 0; // writes taken before the failing ones start
    InterfaceStats stats;
    std::vector<VirtualHandle*> handles;
};

struct VirtualDevice::Faults {
    int dropAnswers = 0;
    int busyReads = 0;
    std::uint8_t busyStatus = kStatusBusy;
    int lateAnswers = 0;
    std::chrono::milliseconds lateDelay{0};
    int unplugCountdown = 0; // writes on unplugKind until the device goes away; 0 none
    InterfaceKind unplugKind = InterfaceKind::Command;
};

VirtualDevice::VirtualDevice(std::shared_ptr<Bus> bus, Ids ids,
                             std::vector<InterfaceLayout> interfaces, std::string pathTag)
    : bus_(std::move(bus)), ids_(ids), pathTag_(std::move(pathTag)),
      faults_(std::make_unique<Faults>()) {
    int number = 0;
    for (const InterfaceLayout& layout : interfaces) {
        Interface iface;
        iface.layout = layout;
        iface.number = number++;
        interfaces_.push_back(std::move(iface));
    }
}

VirtualDevice::~VirtualDevice() = default;

VirtualDevice::Interface* VirtualDevice::interfaceOf(InterfaceKind kind) {
    for (Interface& iface : interfaces_) {
        if (iface.layout.kind == kind) {
            return &iface;
        }
    }
    return nullptr;
}

const VirtualDevice::Interface* VirtualDevice::interfaceOf(InterfaceKind kind) const {
    return const_cast<VirtualDevice*>(this)->interfaceOf(kind);
}

// --- plugging ---

void VirtualDevice::plug() {
    std::vector<std::string> paths;
    {
        auto lock = lockBus();
        if (plugged_) {
            return;
        }
        plugged_ = true;
        for (Interface& iface : interfaces_) {
            char ids[48];
            std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X&MI_%02X", ids_.vendorId,
                          ids_.productId, iface.number);
            iface.path = "virtual:hidraw" + std::to_string(bus_->nextNode++) + ":" + ids + pathTag_;
            paths.push_back(iface.path);
        }
        bus_->plugged.push_back(shared_from_this());
        notifyLocked();
    }
    announce(paths, true);
}

std::vector<std::string> VirtualDevice::unplugLocked() {
    std::vector<std::string> paths;
    if (!plugged_) {
        return paths;
    }
    plugged_ = false;
    for (Interface& iface : interfaces_) {
        for (VirtualHandle* handle : iface.handles) {
            handle->dead = true;
            handle->queue.clear();
        }
        iface.handles.clear();
        iface.stats.openHandles = 0;
        paths.push_back(iface.path);
        iface.path.clear();
    }
    auto& plugged = bus_->plugged;
    plugged.erase(std::remove(plugged.begin(), plugged.end(), shared_from_this()), plugged.end());
    notifyLocked();
    return paths;
}

void VirtualDevice::unplug() {
    std::vector<std::string> paths;
    {
        auto lock = lockBus();
        paths = unplugLocked();
    }
    announce(paths, false);
}

void VirtualDevice::announce(const std::vector<std::string>& paths, bool arrived) {
    HotplugListener listener;
    {
        auto lock = lockBus();
        listener = bus_->listener;
    }
    if (!listener) {
        return;
    }
    for (const std::string& path : paths) {
        listener(path, arrived);
    }
}

bool VirtualDevice::isPlugged() const {
    auto lock = lockBus();
    return plugged_;
}

std::string VirtualDevice::path(InterfaceKind kind) const {
    auto lock = lockBus();
    const Interface* iface = interfaceOf(kind);
    return iface ? iface->path : std::string();
}

void VirtualDevice::appendEntriesLocked(std::vector<hid::HidDeviceInfo>& entries,
                                        std::uint16_t vendorId, std::uint16_t productId) const {
    if (!plugged_ || (vendorId && vendorId != ids_.vendorId) ||
        (productId && productId != ids_.productId)) {
        return;
    }
    for (const Interface& iface : interfaces_) {
        hid::HidDeviceInfo info;
        info.path = iface.path;
        info.vendorId = ids_.vendorId;
        info.productId = ids_.productId;
        info.releaseNumber = ids_.releaseNumber;
        info.usagePage = iface.layout.usagePage;
        info.usage = iface.layout.usage;
        info.interfaceNumber = iface.number;
        entries.push_back(std::move(info));
    }
}

bool VirtualDevice::hasPathLocked(const std::string& path) const {
    return plugged_ && std::any_of(interfaces_.begin(), interfaces_.end(),
                                   [&](const Interface& i) { return i.path == path; });
}

// --- log, statistics and faults ---

std::vector<LoggedReport> VirtualDevice::log() const {
    auto lock = lockBus();
    return log_;
}

std::vector<std::vector<std::uint8_t>> VirtualDevice::received(InterfaceKind kind) const {
    auto lock = lockBus();
    std::vector<std::vector<std::uint8_t>> reports;
    for (const LoggedReport& entry : log_) {
        if (entry.kind == kind) {
            reports.push_back(entry.bytes);
        }
    }
    return reports;
}

void VirtualDevice::clearLog() {
    auto lock = lockBus();
    log_.clear();
    for (Interface& iface : interfaces_) {
        iface.stats.opens = 0;
        iface.stats.writes = 0;
        iface.stats.reads = 0;
    }
}

InterfaceStats VirtualDevice::stats(InterfaceKind kind) const {
    auto lock = lockBus();
    const Interface* iface = interfaceOf(kind);
    return iface ? iface->stats : InterfaceStats{};
}

void VirtualDevice::failOpen(InterfaceKind kind, bool fail) {
    auto lock = lockBus();
    if (Interface* iface = interfaceOf(kind)) {
        iface->failOpen = fail;
    }
}

void VirtualDevice::failNextWrites(int count, InterfaceKind kind, int after) {
    auto lock = lockBus();
    if (Interface* iface = interfaceOf(kind)) {
        iface->failWrites += count;
        iface->passBeforeFailing = after;
    }
}

void VirtualDevice::dropNextAnswers(int count) {
    auto lock = lockBus();
    faults_->dropAnswers += count;
}

void VirtualDevice::busyNextReads(int count, std::uint8_t status) {
    auto lock = lockBus();
    faults_->busyReads += count;
    faults_->busyStatus = status;
}

void VirtualDevice::delayNextAnswers(int count, std::chrono::milliseconds delay) {
    auto lock = lockBus();
    faults_->lateAnswers += count;
    faults_->lateDelay = delay;
}

void VirtualDevice::unplugAfterNextWrite() {
    unplugAfterWrites(1, InterfaceKind::Command);
}

void VirtualDevice::unplugAfterWrites(int count, InterfaceKind kind) {
    auto lock = lockBus();
    faults_->unplugCountdown = count;
    faults_->unplugKind = kind;
}

BootloaderState VirtualDevice::bootloader() const {
    auto lock = lockBus();
    return bootloader_;
}

// --- I/O ---

hid::HidDevice* VirtualDevice::open(const std::string& path) {
    auto lock = lockBus();
    if (!plugged_) {
        return nullptr;
    }
    for (std::size_t i = 0; i < interfaces_.size(); ++i) {
        Interface& iface = interfaces_[i];
        if (iface.path != path) {
            continue;
        }
        if (iface.failOpen) {
            return nullptr;
        }
        auto* handle = new VirtualHandle(shared_from_this(), i);
        iface.handles.push_back(handle);
        ++iface.stats.opens;
        ++iface.stats.openHandles;
        return handle;
    }
    return nullptr;
}

void VirtualDevice::close(VirtualHandle* handle) {
    {
        auto lock = lockBus();
        Interface& iface = interfaces_[handle->interfaceIndex];
        auto it = std::find(iface.handles.begin(), iface.handles.end(), handle);
        if (it != iface.handles.end()) {
            iface.handles.erase(it);
            --iface.stats.openHandles;
        }
        handle->dead = true;
        notifyLocked();
    }
    delete handle;
}

int VirtualDevice::write(VirtualHandle* handle, const std::uint8_t* data, std::size_t length) {
    std::vector<std::string> removed;
    int result = -1;
    {
        auto lock = lockBus();
        Interface& iface = interfaces_[handle->interfaceIndex];
        ++iface.stats.writes;
        if (handle->dead || !data || length == 0 || length > iface.layout.outputLength) {
            return -1;
        }
        if (iface.failWrites > 0) {
            if (iface.passBeforeFailing > 0) {
                --iface.passBeforeFailing;
            } else {
                --iface.failWrites;
                return -1;
            }
        }
        // Without report IDs (command interface) the ID byte must be 0; the loader's
        // reports carry ID 0x05.
        const std::uint8_t expectedId =
            iface.layout.kind == InterfaceKind::Bootloader ? kBootReportId : 0x00;
        if (data[0] != expectedId) {
            return -1;
        }
        std::vector<std::uint8_t> report(data, data + length);
        report.resize(iface.layout.outputLength, 0);
        log_.push_back({iface.layout.kind, report});
        if (iface.layout.kind == InterfaceKind::Command) {
            handleCommandLocked(report);
        } else if (iface.layout.kind == InterfaceKind::Bootloader) {
            handleBootPacketLocked(report);
        }
        if (faults_->unplugCountdown > 0 && iface.layout.kind == faults_->unplugKind &&
            --faults_->unplugCountdown == 0) {
            removed = unplugLocked();
        }
        notifyLocked();
        result = static_cast<int>(length);
    }
    announce(removed, false);
    return result;
}

void VirtualDevice::handleCommandLocked(const std::vector<std::uint8_t>& report) {
    CommandBody body{};
    std::copy(report.begin() + 1, report.begin() + 1 + body.size(), body.begin());
    lastCommand_ = body[0];
    std::optional<InputReport> answer = answerLocked(body);
    if (!answer) {
        return;
    }
    if (faults_->dropAnswers > 0) {
        --faults_->dropAnswers;
        return;
    }
    std::chrono::milliseconds delay{0};
    if (faults_->lateAnswers > 0) {
        --faults_->lateAnswers;
        delay = faults_->lateDelay;
    }
    sendInputLocked(InterfaceKind::Command, *answer, delay);
}

void VirtualDevice::handleBootPacketLocked(const std::vector<std::uint8_t>& report) {
    const BootStatus status = acceptBootPacket(bootloader_, report.data());
    InputReport ack;
    ack.fill(0xFF);
    ack[0] = kBootReportId;
    ack[1] = 0x02;
    ack[2] = 0x01;
    ack[3] = 0x00;
    ack[4] = static_cast<std::uint8_t>(status);
    sendInputLocked(InterfaceKind::Bootloader, ack);
}

void VirtualDevice::sendInputLocked(InterfaceKind kind, const InputReport& report,
                                    std::chrono::milliseconds delay) {
    Interface* iface = interfaceOf(kind);
    if (!iface || !plugged_) {
        return;
    }
    const Clock::time_point at = Clock::now() + delay;
    for (VirtualHandle* handle : iface->handles) {
        auto& queue = handle->queue;
        auto position = std::upper_bound(
            queue.begin(), queue.end(), at,
            [](Clock::time_point t, const VirtualHandle::Pending& p) { return t < p.at; });
        queue.insert(position, {report, at});
        if (queue.size() > VirtualHandle::kQueueLimit) {
            queue.pop_front();
        }
    }
    notifyLocked();
}

int VirtualDevice::read(VirtualHandle* handle, std::uint8_t* data, std::size_t length,
                        int milliseconds) {
    auto lock = lockBus();
    Interface& iface = interfaces_[handle->interfaceIndex];
    ++iface.stats.reads;
    if (!data) {
        return -1;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    auto deliver = [&](const InputReport& report) {
        const std::size_t n = std::min(length, report.size());
        std::memcpy(data, report.data(), n);
        return static_cast<int>(n);
    };
    for (;;) {
        if (handle->dead) {
            return -1;
        }
        if (iface.layout.kind == InterfaceKind::Command && faults_->busyReads > 0) {
            --faults_->busyReads;
            return deliver(answerReport(lastCommand_, faults_->busyStatus));
        }
        const Clock::time_point now = Clock::now();
        auto& queue = handle->queue;
        if (!queue.empty() && queue.front().at <= now) {
            const InputReport report = queue.front().report;
            queue.pop_front();
            return deliver(report);
        }
        if (milliseconds >= 0 && now >= deadline) {
            return 0;
        }
        // Wake for whatever comes first: the deadline, the next late report, a change.
        if (milliseconds < 0 && queue.empty()) {
            bus_->changed.wait(lock);
        } else {
            Clock::time_point wake = milliseconds < 0 ? queue.front().at : deadline;
            if (!queue.empty()) {
                wake = std::min(wake, queue.front().at);
            }
            bus_->changed.wait_until(lock, wake);
        }
    }
}

} // namespace corvane::vm
