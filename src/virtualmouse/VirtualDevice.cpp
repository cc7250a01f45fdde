#include "virtualmouse/VirtualDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "virtualmouse/CommandRules.h"

namespace corvane::vm {

using Clock = VirtualHandle::Clock;

namespace {

// Appends a short item: prefix (tag, type) and a value of one or two bytes.
void item(std::vector<std::uint8_t>& out, std::uint8_t prefix, std::uint32_t value) {
    if (value <= 0xFF) {
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(prefix | 0x01), static_cast<std::uint8_t>(value)});
    } else {
        out.insert(out.end(), {static_cast<std::uint8_t>(prefix | 0x02),
                               static_cast<std::uint8_t>(value & 0xFF),
                               static_cast<std::uint8_t>(value >> 8)});
    }
}

constexpr std::uint8_t kUsagePage = 0x04;
constexpr std::uint8_t kUsage = 0x08;
constexpr std::uint8_t kCollection = 0xA0;
constexpr std::uint8_t kReportId = 0x84;
constexpr std::uint8_t kLogicalMinimum = 0x14;
constexpr std::uint8_t kLogicalMaximum = 0x24;
constexpr std::uint8_t kReportSize = 0x74;
constexpr std::uint8_t kReportCount = 0x94;
constexpr std::uint8_t kInput = 0x80;
constexpr std::uint8_t kOutput = 0x90;
constexpr std::uint8_t kEndCollection = 0xC0;
constexpr std::uint8_t kApplication = 0x01;
constexpr std::uint8_t kDataVariable = 0x02;

} // namespace

std::vector<std::uint8_t> describeNode(const NodeLayout& node) {
    std::vector<std::uint8_t> out;
    for (const CollectionLayout& collection : node) {
        item(out, kUsagePage, collection.usagePage);
        item(out, kUsage, collection.usage);
        item(out, kCollection, kApplication);
        if (collection.reportId != 0) {
            item(out, kReportId, collection.reportId);
        }
        item(out, kLogicalMinimum, 0);
        item(out, kLogicalMaximum, 0xFF);
        item(out, kReportSize, 8);
        if (collection.inputLength > 0) {
            item(out, kReportCount, static_cast<std::uint32_t>(collection.inputLength));
            item(out, kUsage, 0x01);
            item(out, kInput, kDataVariable);
        }
        if (collection.outputLength > 0) {
            item(out, kReportCount, static_cast<std::uint32_t>(collection.outputLength));
            item(out, kUsage, 0x01);
            item(out, kOutput, kDataVariable);
        }
        out.push_back(kEndCollection);
    }
    return out;
}

struct VirtualDevice::Node {
    NodeLayout collections;
    std::vector<std::uint8_t> descriptor;
    int number = 0;
    std::string path;
    bool failOpen = false;
    int failWrites = 0;
    int passBeforeFailing = 0; // writes taken before the failing ones start
    InterfaceStats stats;
    std::vector<VirtualHandle*> handles;

    bool numbered() const { return collections.size() > 1 || collections.front().reportId != 0; }
};

struct VirtualDevice::Faults {
    int dropAnswers = 0;
    int busyReads = 0;
    std::uint8_t busyStatus = kStatusBusy;
    int lateAnswers = 0;
    std::chrono::milliseconds lateDelay{0};
    int unplugCountdown = 0; // writes on unplugKind until the device goes away; 0 none
    InterfaceKind unplugKind = InterfaceKind::Command;
    InterfaceKind observedKind = InterfaceKind::Command;
    std::function<void()> writeObserver;
};

VirtualDevice::VirtualDevice(std::shared_ptr<Bus> bus, Ids ids, std::vector<NodeLayout> nodes,
                             std::string pathTag)
    : bus_(std::move(bus)), ids_(ids), pathTag_(std::move(pathTag)),
      faults_(std::make_unique<Faults>()) {
    int number = 0;
    for (NodeLayout& layout : nodes) {
        if (layout.empty()) {
            continue;
        }
        Node node;
        node.descriptor = describeNode(layout);
        node.collections = std::move(layout);
        node.number = number++;
        nodes_.push_back(std::move(node));
    }
}

VirtualDevice::~VirtualDevice() = default;

VirtualDevice::Located VirtualDevice::locate(InterfaceKind kind) const {
    for (const Node& node : nodes_) {
        for (const CollectionLayout& collection : node.collections) {
            if (collection.kind == kind) {
                return {const_cast<Node*>(&node), &collection};
            }
        }
    }
    return {nullptr, nullptr};
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
        for (Node& node : nodes_) {
            char ids[48];
            std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X&MI_%02X", ids_.vendorId,
                          ids_.productId, node.number);
            node.path = "virtual:hidraw" + std::to_string(bus_->nextNode++) + ":" + ids + pathTag_;
            paths.push_back(node.path);
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
    for (Node& node : nodes_) {
        for (VirtualHandle* handle : node.handles) {
            handle->dead = true;
            handle->queue.clear();
        }
        node.handles.clear();
        node.stats.openHandles = 0;
        paths.push_back(node.path);
        node.path.clear();
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
    const Located where = locate(kind);
    return where.node ? where.node->path : std::string();
}

int VirtualDevice::interfaceNumber(InterfaceKind kind) const {
    auto lock = lockBus();
    const Located where = locate(kind);
    return where.node ? where.node->number : -1;
}

void VirtualDevice::appendEntriesLocked(std::vector<hid::HidDeviceInfo>& entries,
                                        std::uint16_t vendorId, std::uint16_t productId) const {
    if (!plugged_ || (vendorId && vendorId != ids_.vendorId) ||
        (productId && productId != ids_.productId)) {
        return;
    }
    // One entry per top-level collection, all under the node's path.
    for (const Node& node : nodes_) {
        for (const CollectionLayout& collection : node.collections) {
            hid::HidDeviceInfo info;
            info.path = node.path;
            info.vendorId = ids_.vendorId;
            info.productId = ids_.productId;
            info.releaseNumber = ids_.releaseNumber;
            info.usagePage = collection.usagePage;
            info.usage = collection.usage;
            info.interfaceNumber = node.number;
            entries.push_back(std::move(info));
        }
    }
}

bool VirtualDevice::hasPathLocked(const std::string& path) const {
    return plugged_ &&
           std::any_of(nodes_.begin(), nodes_.end(), [&](const Node& n) { return n.path == path; });
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
    for (Node& node : nodes_) {
        node.stats.opens = 0;
        node.stats.writes = 0;
        node.stats.reads = 0;
    }
}

InterfaceStats VirtualDevice::stats(InterfaceKind kind) const {
    auto lock = lockBus();
    const Located where = locate(kind);
    return where.node ? where.node->stats : InterfaceStats{};
}

void VirtualDevice::sendReport(InterfaceKind kind, const std::vector<std::uint8_t>& data) {
    auto lock = lockBus();
    sendInputLocked(kind, data.data(), data.size());
}

void VirtualDevice::failOpen(InterfaceKind kind, bool fail) {
    auto lock = lockBus();
    if (Node* node = locate(kind).node) {
        node->failOpen = fail;
    }
}

void VirtualDevice::failNextWrites(int count, InterfaceKind kind, int after) {
    auto lock = lockBus();
    if (Node* node = locate(kind).node) {
        node->failWrites += count;
        node->passBeforeFailing = after;
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

void VirtualDevice::observeWrites(InterfaceKind kind, std::function<void()> observer) {
    auto lock = lockBus();
    faults_->observedKind = kind;
    faults_->writeObserver = std::move(observer);
}

void VirtualDevice::unplugAfterWrites(int count, InterfaceKind kind) {
    auto lock = lockBus();
    faults_->unplugCountdown = count;
    faults_->unplugKind = kind;
}

void VirtualDevice::writeFlashFor(std::chrono::milliseconds duration) {
    auto lock = lockBus();
    flashWrite_ = duration;
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
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        Node& node = nodes_[i];
        if (node.path != path) {
            continue;
        }
        if (node.failOpen) {
            return nullptr;
        }
        auto* handle = new VirtualHandle(shared_from_this(), i);
        node.handles.push_back(handle);
        ++node.stats.opens;
        ++node.stats.openHandles;
        return handle;
    }
    return nullptr;
}

void VirtualDevice::close(VirtualHandle* handle) {
    {
        auto lock = lockBus();
        Node& node = nodes_[handle->nodeIndex];
        auto it = std::find(node.handles.begin(), node.handles.end(), handle);
        if (it != node.handles.end()) {
            node.handles.erase(it);
            --node.stats.openHandles;
        }
        handle->dead = true;
        notifyLocked();
    }
    delete handle;
}

void VirtualDevice::cancelReads(VirtualHandle* handle) {
    auto lock = lockBus();
    handle->cancelled = true;
    notifyLocked();
}

int VirtualDevice::reportDescriptor(VirtualHandle* handle, std::uint8_t* data,
                                    std::size_t size) const {
    auto lock = lockBus();
    if (handle->dead || !data) {
        return -1;
    }
    const std::vector<std::uint8_t>& descriptor = nodes_[handle->nodeIndex].descriptor;
    const std::size_t n = std::min(size, descriptor.size());
    std::memcpy(data, descriptor.data(), n);
    return static_cast<int>(n);
}

int VirtualDevice::write(VirtualHandle* handle, const std::uint8_t* data, std::size_t length) {
    std::vector<std::string> removed;
    std::function<void()> observer;
    int result = -1;
    {
        auto lock = lockBus();
        Node& node = nodes_[handle->nodeIndex];
        ++node.stats.writes;
        if (handle->dead || !data || length == 0) {
            return -1;
        }
        if (node.failWrites > 0) {
            if (node.passBeforeFailing > 0) {
                --node.passBeforeFailing;
            } else {
                --node.failWrites;
                return -1;
            }
        }
        // The first byte names the report (0 on a node that numbers none). hidraw sends
        // whatever it is given; the firmware takes a whole report of a collection that
        // has one and drops anything else.
        const CollectionLayout* target = nullptr;
        for (const CollectionLayout& collection : node.collections) {
            if (collection.outputLength > 0 && collection.reportId == data[0]) {
                target = &collection;
                break;
            }
        }
        LoggedReport entry{target ? target->kind : node.collections.front().kind,
                           std::vector<std::uint8_t>(data, data + length), false};
        entry.taken = target && length == 1 + target->outputLength;
        log_.push_back(entry);
        if (entry.taken && target->kind == InterfaceKind::Command) {
            handleCommandLocked(data + 1);
        } else if (entry.taken && target->kind == InterfaceKind::Bootloader) {
            handleBootPacketLocked(data);
        }
        if (faults_->unplugCountdown > 0 && target && target->kind == faults_->unplugKind &&
            --faults_->unplugCountdown == 0) {
            removed = unplugLocked();
        }
        if (entry.taken && target->kind == faults_->observedKind) {
            observer = faults_->writeObserver;
        }
        notifyLocked();
        result = static_cast<int>(length);
    }
    announce(removed, false);
    if (observer) {
        observer();
    }
    return result;
}

// `report` holds a whole output report of the command collection, at least the body.
void VirtualDevice::handleCommandLocked(const std::uint8_t* report) {
    CommandBody body{};
    std::memcpy(body.data(), report, body.size());
    lastCommand_ = body[0];
    std::optional<InputReport> answer = answerLocked(body);
    if (!answer) {
        return;
    }
    if (faults_->dropAnswers > 0) {
        --faults_->dropAnswers;
        return;
    }
    const Clock::time_point now = Clock::now();
    Clock::time_point at = now;
    if (faults_->lateAnswers > 0) {
        --faults_->lateAnswers;
        at += faults_->lateDelay;
    }
    // While the flash is written the firmware does nothing else.
    at = std::max(at, busyUntil_);
    if (flashWrite_.count() > 0 && !isReadCommand(body[0]) && (*answer)[1] == kStatusOk) {
        at += flashWrite_;
        busyUntil_ = at;
    }
    sendInputAtLocked(InterfaceKind::Command, answer->data(), answer->size(), at);
}

void VirtualDevice::handleBootPacketLocked(const std::uint8_t* report) {
    const BootStatus status = acceptBootPacket(bootloader_, report);
    // The acknowledgement's data; the node puts report ID 0x05 in front.
    InputReport ack;
    ack.fill(0xFF);
    ack[0] = 0x02;
    ack[1] = 0x01;
    ack[2] = 0x00;
    ack[3] = static_cast<std::uint8_t>(status);
    sendInputLocked(InterfaceKind::Bootloader, ack.data(), kBootPacketLength - 1);
}

std::vector<std::uint8_t> VirtualDevice::frameInputLocked(const Located& where,
                                                          const std::uint8_t* data,
                                                          std::size_t size) const {
    std::vector<std::uint8_t> report;
    if (where.node->numbered()) {
        report.push_back(where.collection->reportId);
    }
    const std::size_t start = report.size();
    report.insert(report.end(), data, data + std::min(size, where.collection->inputLength));
    report.resize(start + where.collection->inputLength, 0);
    return report;
}

void VirtualDevice::sendInputAtLocked(InterfaceKind kind, const std::uint8_t* data,
                                      std::size_t size, Clock::time_point at) {
    const Located where = locate(kind);
    if (!where.node || !plugged_ || where.collection->inputLength == 0) {
        return;
    }
    const std::vector<std::uint8_t> report = frameInputLocked(where, data, size);
    for (VirtualHandle* handle : where.node->handles) {
        auto& queue = handle->queue;
        if (queue.size() >= VirtualHandle::kQueueLimit) {
            continue; // hidraw drops a new report while the reader's buffer is full
        }
        auto position = std::upper_bound(
            queue.begin(), queue.end(), at,
            [](Clock::time_point t, const VirtualHandle::Pending& p) { return t < p.at; });
        queue.insert(position, {report, at});
    }
    notifyLocked();
}

int VirtualDevice::read(VirtualHandle* handle, std::uint8_t* data, std::size_t length,
                        int milliseconds) {
    auto lock = lockBus();
    Node& node = nodes_[handle->nodeIndex];
    ++node.stats.reads;
    if (!data) {
        return -1;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    auto deliver = [&](const std::vector<std::uint8_t>& report) {
        const std::size_t n = std::min(length, report.size());
        std::memcpy(data, report.data(), n);
        return static_cast<int>(n);
    };
    const Located command = locate(InterfaceKind::Command);
    for (;;) {
        if (handle->dead || handle->cancelled) {
            return -1;
        }
        if (command.node == &node && faults_->busyReads > 0) {
            --faults_->busyReads;
            const InputReport busy = answerReport(lastCommand_, faults_->busyStatus);
            return deliver(frameInputLocked(command, busy.data(), busy.size()));
        }
        const Clock::time_point now = Clock::now();
        auto& queue = handle->queue;
        if (!queue.empty() && queue.front().at <= now) {
            const std::vector<std::uint8_t> report = std::move(queue.front().report);
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
