#pragma once
// Sending a firmware image to the mouse's bootloader interface.

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

#include "hid/HidApi.h"
#include "update/BootPackets.h"

namespace corvane::update {

struct BootTiming {
    using Milliseconds = std::chrono::milliseconds;
    Milliseconds afterEarlyPacket{10}; // after each of the first two data packets
    Milliseconds beforeRetry{3};       // a write that failed is tried once more after this
    Milliseconds beforeAnswer{5};      // then the loader's answer is read after this
    int answerTimeoutMs = 1000;        // how long that read waits
};

// What became of an image.
enum class TransferResult {
    Sent,    // every data packet was accepted
    Refused, // the loader did not accept a packet; the rest was not sent
    Stopped, // the worker is stopping
};

// One open bootloader interface. `pause` sleeps and returns false when the caller is
// being stopped; the link then gives up.
class BootloaderLink {
public:
    using Pause = std::function<bool(std::chrono::milliseconds)>;
    // After each full data packet: the percentage to show (10 to 100).
    using Progress = std::function<void(int percent)>;

    BootloaderLink(hid::HidApi& api, hid::HidDevice* handle, BootTiming timing, Pause pause);

    // Writes one packet. A write the loader takes counts as accepted. When it is not
    // taken, the packet is written once more and the loader's answer read: it counts as
    // accepted only when an answer arrives. Answers left over from earlier packets are
    // read away first, so that a stale one cannot stand for the answer to this packet.
    bool sendBootPacket(const BootPacket& packet);
    bool bootStart();
    bool bootEnd();

    // Sends `image` (at most kMaxImageBytes) in data packets of three chunks, the last
    // one with as many chunks as its remaining 1 to 47 bytes need. Stops at the first
    // packet the loader does not accept.
    TransferResult transferImage(std::span<const std::uint8_t> image, const Progress& progress);

    // Data packets written so far (accepted ones).
    int packetsSent() const { return packetsSent_; }

private:
    void drainAnswers();

    hid::HidApi& api_;
    hid::HidDevice* handle_;
    BootTiming timing_;
    Pause pause_;
    int packetsSent_ = 0;
};

} // namespace corvane::update
