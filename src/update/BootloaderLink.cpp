#include "update/BootloaderLink.h"

namespace corvane::update {

namespace {
// Answers read away before a retry; a loader cannot have queued more than this.
constexpr int kMaxStaleAnswers = 256;
} // namespace

BootloaderLink::BootloaderLink(hid::HidApi& api, hid::HidDevice* handle, BootTiming timing,
                               Pause pause)
    : api_(api), handle_(handle), timing_(timing), pause_(std::move(pause)) {}

void BootloaderLink::drainAnswers() {
    std::uint8_t answer[kBootPacketSize];
    for (int i = 0; i < kMaxStaleAnswers; ++i) {
        if (api_.read_timeout(handle_, answer, sizeof answer, 0) <= 0) {
            return;
        }
    }
}

bool BootloaderLink::sendBootPacket(const BootPacket& packet) {
    if (!handle_) {
        return false;
    }
    if (api_.write(handle_, packet.data(), packet.size()) > 0) {
        return true;
    }
    drainAnswers();
    if (!pause_(timing_.beforeRetry)) {
        return false;
    }
    api_.write(handle_, packet.data(), packet.size());
    if (!pause_(timing_.beforeAnswer)) {
        return false;
    }
    std::uint8_t answer[kBootPacketSize];
    return api_.read_timeout(handle_, answer, sizeof answer, timing_.answerTimeoutMs) > 0;
}

bool BootloaderLink::bootStart() {
    return sendBootPacket(bootStartPacket());
}

bool BootloaderLink::bootEnd() {
    return sendBootPacket(bootEndPacket());
}

TransferResult BootloaderLink::transferImage(std::span<const std::uint8_t> image,
                                             const Progress& progress) {
    if (image.size() > kMaxImageBytes) {
        return TransferResult::Refused;
    }
    const std::size_t fullPackets = image.size() / kPacketImageBytes;
    std::size_t chunk = 0;
    for (std::size_t k = 1; k <= fullPackets; ++k) {
        if (!pause_(std::chrono::milliseconds(0))) {
            return TransferResult::Stopped;
        }
        if (!sendBootPacket(bootDataPacket(image, chunk, kChunksPerPacket))) {
            return TransferResult::Refused;
        }
        ++packetsSent_;
        if (k <= 2 && !pause_(timing_.afterEarlyPacket)) {
            return TransferResult::Stopped;
        }
        chunk += kChunksPerPacket;
        if (progress) {
            progress(static_cast<int>(10 + 90 * k / fullPackets));
        }
    }
    const std::size_t rest = image.size() - fullPackets * kPacketImageBytes;
    if (rest > 0) {
        const std::size_t chunks = (rest + kChunkImageBytes - 1) / kChunkImageBytes;
        if (!sendBootPacket(bootDataPacket(image, chunk, chunks))) {
            return TransferResult::Refused;
        }
        ++packetsSent_;
    }
    return TransferResult::Sent;
}

} // namespace corvane::update
