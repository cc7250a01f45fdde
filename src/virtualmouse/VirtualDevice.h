#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hid/HidApi.h"
#include "virtualmouse/Bootloader.h"
#include "virtualmouse/Reports.h"

namespace corvane::vm {

enum class InterfaceKind {
    Command,    // the vendor collection that takes command reports
    Mouse,      // the ordinary mouse collection (0x0001 / 0x0002)
    Keyboard,   // the ordinary keyboard collection (0x0001 / 0x0006)
    Consumer,   // media keys (0x000C / 0x0001)
    Bootloader, // the firmware loader (0xFFEF / 0x0000)
};

// One top-level collection of a USB interface, as its report descriptor declares it.
struct CollectionLayout {
    InterfaceKind kind;
    std::uint16_t usagePage;
    std::uint16_t usage;
    std::uint8_t reportId;    // 0: the interface numbers no report
    std::size_t inputLength;  // data bytes of its input report, report ID not counted
    std::size_t outputLength; // data bytes of its output report; 0 = it takes none
};

// One USB interface, seen by the host as one hidraw node, with its collections. With
// more than one collection every report is numbered.
using NodeLayout = std::vector<CollectionLayout>;

// The report descriptor of a node, item by item (what the kernel hands out for it).
std::vector<std::uint8_t> describeNode(const NodeLayout& node);

// One report as it reached the device: the bytes written, exactly, report ID first.
// `taken`: it was a whole report of a collection, and the firmware acted on it; a
// report of another length or with an unknown ID is dropped by the firmware.
struct LoggedReport {
    InterfaceKind kind;
    std::vector<std::uint8_t> bytes;
    bool taken = false;
};

struct InterfaceStats {
    int opens = 0;
    int writes = 0; // attempts, failed ones included
    int reads = 0;  // attempts
    int openHandles = 0;
};

class VirtualDevice;
class VirtualHandle;
using HotplugListener = std::function<void(const std::string& path, bool arrived)>;

// The state every virtual device shares: one lock and one condition variable for the
// whole bus, so plugging, I/O and the test's own calls never race.
struct Bus {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::shared_ptr<VirtualDevice>> plugged;
    int nextNode = 0;
    HotplugListener listener;
};

// An open hidraw node of a virtual device: its own queue of input reports, as the
// kernel keeps one per reader. Guarded by the bus lock.
class VirtualHandle final : public hid::HidDevice {
public:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        std::vector<std::uint8_t> report; // as read: report ID first on a numbered node
        Clock::time_point at;
    };
    // hidraw's buffer per reader: while it is full, a new report is dropped.
    static constexpr std::size_t kQueueLimit = 64;

    VirtualHandle(std::shared_ptr<VirtualDevice> device, std::size_t nodeIndex)
        : device(std::move(device)), nodeIndex(nodeIndex) {}

    const std::shared_ptr<VirtualDevice> device;
    const std::size_t nodeIndex;
    std::deque<Pending> queue; // ordered by `at`
    bool dead = false;
    bool cancelled = false; // reads end: the handle is about to be closed
};

// One USB device with its HID interfaces, as hidraw shows them: a write reaches the
// device exactly as given (report ID first; nothing is padded), a read gives one input
// report (its ID first on a numbered node, cut to the length asked for), and each node
// answers with its report descriptor. Everything here is thread-safe.
class VirtualDevice : public std::enable_shared_from_this<VirtualDevice> {
public:
    struct Ids {
        std::uint16_t vendorId = 0x1209;
        std::uint16_t productId = 0;
        std::uint16_t releaseNumber = 0x0100;
    };

    virtual ~VirtualDevice();
    VirtualDevice(const VirtualDevice&) = delete;
    VirtualDevice& operator=(const VirtualDevice&) = delete;

    Ids ids() const { return ids_; }

    // Attaching and removing. Unplugging ends every handle: waiting reads return -1,
    // later calls on them fail. Plugging again gives the interfaces new paths.
    void plug();
    void unplug();
    bool isPlugged() const;
    // The path of the node carrying the collection, empty while unplugged or when there
    // is none. Collections that share a node share its path.
    std::string path(InterfaceKind kind) const;
    // The USB interface number of that node, -1 when there is none.
    int interfaceNumber(InterfaceKind kind) const;

    // Every report received, in order, and those written to one collection (by its
    // report ID on a numbered node), taken or not.
    std::vector<LoggedReport> log() const;
    std::vector<std::vector<std::uint8_t>>
    received(InterfaceKind kind = InterfaceKind::Command) const;
    // Forgets the reports received and the open, write and read counts.
    void clearLog();
    InterfaceStats stats(InterfaceKind kind) const;

    // The user moves the mouse, presses a key...: an input report of the collection
    // (its data, cut or zero-padded to the collection's input report) goes to every
    // open handle of its node.
    void sendReport(InterfaceKind kind, const std::vector<std::uint8_t>& data);

    // Faults. Counts add up; they apply to the command interface unless named.
    // Opening the node of the collection fails, as without permission on it.
    void failOpen(InterfaceKind kind, bool fail = true);
    // The next `after` writes are taken, then `count` writes fail.
    void failNextWrites(int count, InterfaceKind kind = InterfaceKind::Command, int after = 0);
    // The next `count` requests are taken but never answered.
    void dropNextAnswers(int count);
    // The next `count` reads return at once a report whose status byte is `status`.
    void busyNextReads(int count, std::uint8_t status = kStatusBusy);
    // The next `count` answers arrive `delay` after their request.
    void delayNextAnswers(int count, std::chrono::milliseconds delay);
    // The next write is taken, then the device is unplugged before it can answer.
    void unplugAfterNextWrite();
    // Each write command the mouse takes from now on is written to its flash, which
    // takes `duration` (0 ends it): its answer comes when the flash is written, and a
    // command that arrives meanwhile is answered only after that.
    void writeFlashFor(std::chrono::milliseconds duration);
    // Called on the writing thread, under no lock, after each report `kind` takes (the
    // test's moment "while the firmware is being written"); an empty function ends it.
    void observeWrites(InterfaceKind kind, std::function<void()> observer);
    // The device is unplugged right after it took the `count`-th next write on `kind`.
    void unplugAfterWrites(int count, InterfaceKind kind);

    // What the firmware loader received (devices with a bootloader interface).
    BootloaderState bootloader() const;

    // Called by VirtualMouse, under no lock.
    hid::HidDevice* open(const std::string& path);
    int write(VirtualHandle* handle, const std::uint8_t* data, std::size_t length);
    int read(VirtualHandle* handle, std::uint8_t* data, std::size_t length, int milliseconds);
    void close(VirtualHandle* handle);
    void cancelReads(VirtualHandle* handle);
    int reportDescriptor(VirtualHandle* handle, std::uint8_t* data, std::size_t size) const;
    // Called by VirtualMouse with the bus locked.
    void appendEntriesLocked(std::vector<hid::HidDeviceInfo>& entries, std::uint16_t vendorId,
                             std::uint16_t productId) const;
    bool hasPathLocked(const std::string& path) const;

protected:
    VirtualDevice(std::shared_ptr<Bus> bus, Ids ids, std::vector<NodeLayout> nodes,
                  std::string pathTag);

    // The device's answer to one well-received command body, or nothing. Bus locked.
    virtual std::optional<InputReport> answerLocked(const CommandBody& body) = 0;
    // Sends an input report of a collection (its data, without report ID) to every open
    // handle of its node. Bus locked.
    void sendInputLocked(InterfaceKind kind, const std::uint8_t* data, std::size_t size,
                         std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
        sendInputAtLocked(kind, data, size, VirtualHandle::Clock::now() + delay);
    }
    void sendInputAtLocked(InterfaceKind kind, const std::uint8_t* data, std::size_t size,
                           VirtualHandle::Clock::time_point at);
    void sendInputLocked(InterfaceKind kind, const InputReport& report,
                         std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
        sendInputLocked(kind, report.data(), report.size(), delay);
    }
    std::unique_lock<std::mutex> lockBus() const { return std::unique_lock(bus_->mutex); }
    void notifyLocked() { bus_->changed.notify_all(); }

private:
    struct Node;
    struct Faults;
    struct Located {
        Node* node;
        const CollectionLayout* collection;
    };

    Located locate(InterfaceKind kind) const;
    // The input report as a read delivers it: report ID first on a numbered node, the
    // data cut or zero-padded to the collection's input length.
    std::vector<std::uint8_t> frameInputLocked(const Located& where, const std::uint8_t* data,
                                               std::size_t size) const;
    void handleCommandLocked(const std::uint8_t* report);
    void handleBootPacketLocked(const std::uint8_t* report);
    // Detaches from the bus; returns the paths that went away.
    std::vector<std::string> unplugLocked();
    void announce(const std::vector<std::string>& paths, bool arrived);

    std::shared_ptr<Bus> bus_;
    Ids ids_;
    std::string pathTag_;
    std::vector<Node> nodes_;
    std::unique_ptr<Faults> faults_;
    bool plugged_ = false;
    std::vector<LoggedReport> log_;
    std::uint8_t lastCommand_ = 0;
    std::chrono::milliseconds flashWrite_{0};
    VirtualHandle::Clock::time_point busyUntil_{}; // the flash is being written until then
    BootloaderState bootloader_;
};

} // namespace corvane::vm
