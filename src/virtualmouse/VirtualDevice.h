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
    Bootloader, // the firmware loader (0xFFEF / 0x0000)
};

// One report as the device received it: the bytes written, report ID first, padded
// with zeros to the interface's output report length.
struct LoggedReport {
    InterfaceKind kind;
    std::vector<std::uint8_t> bytes;
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

// An open interface of a virtual device: its own queue of input reports, as a hidraw
// node keeps one per reader. Guarded by the bus lock.
class VirtualHandle final : public hid::HidDevice {
public:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        InputReport report;
        Clock::time_point at;
    };
    // A reader that does not keep up loses the oldest reports beyond this many.
    static constexpr std::size_t kQueueLimit = 64;

    VirtualHandle(std::shared_ptr<VirtualDevice> device, std::size_t interfaceIndex)
        : device(std::move(device)), interfaceIndex(interfaceIndex) {}

    const std::shared_ptr<VirtualDevice> device;
    const std::size_t interfaceIndex;
    std::deque<Pending> queue; // ordered by `at`
    bool dead = false;
};

// One USB device with its HID interfaces. Everything here is thread-safe.
class VirtualDevice : public std::enable_shared_from_this<VirtualDevice> {
public:
    struct Ids {
        std::uint16_t vendorId = 0x1209;
        std::uint16_t productId = 0;
        std::uint16_t releaseNumber = 0x0100;
    };
    struct InterfaceLayout {
        InterfaceKind kind;
        std::uint16_t usagePage;
        std::uint16_t usage;
        std::size_t outputLength; // bytes a write may carry, report ID included; 0 = none
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
    // The interface's current path, empty while unplugged or when there is none.
    std::string path(InterfaceKind kind) const;

    // Every report received, in order, and those of one interface.
    std::vector<LoggedReport> log() const;
    std::vector<std::vector<std::uint8_t>>
    received(InterfaceKind kind = InterfaceKind::Command) const;
    // Forgets the reports received and the open, write and read counts.
    void clearLog();
    InterfaceStats stats(InterfaceKind kind) const;

    // Faults. Counts add up; they apply to the command interface unless named.
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
    // The device is unplugged right after it took the `count`-th next write on `kind`.
    void unplugAfterWrites(int count, InterfaceKind kind);

    // What the firmware loader received (devices with a bootloader interface).
    BootloaderState bootloader() const;

    // Called by VirtualMouse, under no lock.
    hid::HidDevice* open(const std::string& path);
    int write(VirtualHandle* handle, const std::uint8_t* data, std::size_t length);
    int read(VirtualHandle* handle, std::uint8_t* data, std::size_t length, int milliseconds);
    void close(VirtualHandle* handle);
    // Called by VirtualMouse with the bus locked.
    void appendEntriesLocked(std::vector<hid::HidDeviceInfo>& entries, std::uint16_t vendorId,
                             std::uint16_t productId) const;
    bool hasPathLocked(const std::string& path) const;

protected:
    VirtualDevice(std::shared_ptr<Bus> bus, Ids ids, std::vector<InterfaceLayout> interfaces,
                  std::string pathTag);

    // The device's answer to one well-received command body, or nothing. Bus locked.
    virtual std::optional<InputReport> answerLocked(const CommandBody& body) = 0;
    // Sends an unsolicited input report on an interface to every open handle. Bus locked.
    void sendInputLocked(InterfaceKind kind, const InputReport& report,
                         std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    std::unique_lock<std::mutex> lockBus() const { return std::unique_lock(bus_->mutex); }
    void notifyLocked() { bus_->changed.notify_all(); }

private:
    struct Interface;
    struct Faults;

    Interface* interfaceOf(InterfaceKind kind);
    const Interface* interfaceOf(InterfaceKind kind) const;
    void handleCommandLocked(const std::vector<std::uint8_t>& report);
    void handleBootPacketLocked(const std::vector<std::uint8_t>& report);
    // Detaches from the bus; returns the paths that went away.
    std::vector<std::string> unplugLocked();
    void announce(const std::vector<std::string>& paths, bool arrived);

    std::shared_ptr<Bus> bus_;
    Ids ids_;
    std::string pathTag_;
    std::vector<Interface> interfaces_;
    std::unique_ptr<Faults> faults_;
    bool plugged_ = false;
    std::vector<LoggedReport> log_;
    std::uint8_t lastCommand_ = 0;
    BootloaderState bootloader_;
};

} // namespace corvane::vm
