#include "hid/ReportExchange.h"

#include "hid/HeldNotices.h"
#include "hid/InterfaceReader.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

namespace corvane::hid {

namespace {

using Clock = std::chrono::steady_clock;

// The body B0..B31 of a request, after its report ID byte.
constexpr std::size_t kBodyLength = 32;
// A report ID byte in front of the longest report read.
constexpr std::size_t kScratchSize = kReportBufferSize + 1;

bool isInterrupted(const Channel& channel) {
    return channel.interrupted != nullptr && channel.interrupted->load();
}

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

std::uint8_t requestChecksum(const std::uint8_t* request) {
    unsigned sum = 0;
    for (std::size_t i = kRequestFirstParameterIndex; i <= kRequestLastParameterIndex; ++i) {
        sum += request[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void storeRequestChecksum(std::uint8_t* request) {
    request[kRequestChecksumIndex] = requestChecksum(request);
}

std::optional<std::vector<std::uint8_t>>
frameRequest(const std::uint8_t* request, std::size_t length, const ReportLayout& layout) {
    if (!request || length == 0) {
        return std::nullopt;
    }
    if (!layout.known) {
        return std::vector<std::uint8_t>(request, request + length);
    }
    if (layout.outputLength < kBodyLength) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> report(1 + layout.outputLength, 0);
    report[0] = layout.outputId;
    const std::size_t kept = std::min(length, report.size());
    std::copy(request + 1, request + kept, report.begin() + 1);
    if (std::any_of(request + kept, request + length, [](std::uint8_t b) { return b != 0; })) {
        return std::nullopt;
    }
    return report;
}

int readOwnReport(const Channel& channel, std::uint8_t* buffer, std::size_t length, int timeoutMs) {
    if (!channel.device || !buffer || length == 0 || length > kReportBufferSize) {
        return -1;
    }
    if (!channel.layout.known || !channel.layout.numbered) {
        return channel.api.read_timeout(channel.device, buffer, length, timeoutMs);
    }
    // Every report on a numbered node starts with its ID; the node may carry other
    // collections (keys, mouse movement) whose reports come in between.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::array<std::uint8_t, kScratchSize> scratch{};
    for (;;) {
        const int got = channel.api.read_timeout(channel.device, scratch.data(), length + 1,
                                                 remainingMs(deadline));
        if (got <= 0) {
            return got;
        }
        if (scratch[0] == channel.layout.inputId) {
            const std::size_t data = std::min(static_cast<std::size_t>(got) - 1, length);
            std::memcpy(buffer, scratch.data() + 1, data);
            return static_cast<int>(data);
        }
        if (Clock::now() >= deadline || isInterrupted(channel)) {
            return 0;
        }
    }
}

bool exchangeReport(const Channel& channel, std::uint8_t* buffer, std::size_t length) {
    if (!channel.device || !buffer ||
        (length != kShortReportLength && length != kLongReportLength) || isInterrupted(channel)) {
        return false;
    }
    if (channel.reader && channel.reader->failed()) {
        return false; // its reads fail: the device is gone
    }
    const std::optional<std::vector<std::uint8_t>> report =
        frameRequest(buffer, length, channel.layout);
    if (!report || channel.api.write(channel.device, report->data(), report->size()) <= 0) {
        return false;
    }

    std::array<std::uint8_t, kReportBufferSize> scratch{};
    std::memcpy(scratch.data(), buffer, length);
    bool accepted = false;
    for (int attempt = 0; attempt < kAnswerAttempts && !accepted; ++attempt) {
        if (isInterrupted(channel)) {
            break;
        }
        const int got = channel.reader
                            ? channel.reader->takeAnswer(scratch.data(), length, kAnswerTimeoutMs,
                                                         channel.interrupted)
                            : readOwnReport(channel, scratch.data(), length, kAnswerTimeoutMs);
        if (got <= 0) {
            continue;
        }
        const std::size_t filled = std::min(static_cast<std::size_t>(got), length);
        std::memset(scratch.data() + filled, 0, length - filled);
        if (isNoticeReport(scratch.data(), filled)) {
            // Not the answer (an unlink notice even carries B1 = 0): keep it for the
            // next notification poll and go on waiting.
            if (channel.notices) {
                channel.notices->hold(channel.device, scratch.data(), filled);
            }
            continue;
        }
        accepted = filled > kAnswerStatusIndex && scratch[kAnswerStatusIndex] == kStatusAccepted;
    }
    std::memcpy(buffer, scratch.data(), length);
    return accepted;
}

bool readDeviceInfo(const Channel& channel, std::uint8_t* info) {
    if (!info) {
        return false;
    }
    std::array<std::uint8_t, kReportBufferSize> buffer{};
    buffer[0] = kReportId;
    buffer[kRequestCommandIndex] = kGetInfoCommand;
    storeRequestChecksum(buffer.data());
    if (!exchangeReport(channel, buffer.data(), kShortReportLength)) {
        return false;
    }
    std::memcpy(info, buffer.data(), buffer.size());
    return true;
}

} // namespace corvane::hid
