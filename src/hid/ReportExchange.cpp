#include "hid/ReportExchange.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace corvane::hid {

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

bool exchangeReport(HidApi& api, HidDevice* device, std::uint8_t* buffer, std::size_t length) {
    if (!device || !buffer || (length != kShortReportLength && length != kLongReportLength)) {
        return false;
    }
    std::array<std::uint8_t, kReportBufferSize> scratch{};
    std::memcpy(scratch.data(), buffer, length);
    if (api.write(device, scratch.data(), length) <= 0) {
        return false;
    }

    std::memcpy(scratch.data(), buffer, length);
    bool accepted = false;
    for (int attempt = 0; attempt < kAnswerAttempts && !accepted; ++attempt) {
        const int got = api.read_timeout(device, scratch.data(), length, kAnswerTimeoutMs);
        if (got <= 0) {
            continue;
        }
        const std::size_t filled = std::min(static_cast<std::size_t>(got), length);
        std::memset(scratch.data() + filled, 0, length - filled);
        accepted = filled > kAnswerStatusIndex && scratch[kAnswerStatusIndex] == kStatusAccepted;
    }
    std::memcpy(buffer, scratch.data(), length);
    return accepted;
}

bool readDeviceInfo(HidApi& api, HidDevice* device, std::uint8_t* info) {
    if (!info) {
        return false;
    }
    std::array<std::uint8_t, kReportBufferSize> buffer{};
    buffer[0] = kReportId;
    buffer[kRequestCommandIndex] = kGetInfoCommand;
    storeRequestChecksum(buffer.data());
    if (!exchangeReport(api, device, buffer.data(), kShortReportLength)) {
        return false;
    }
    std::memcpy(info, buffer.data(), buffer.size());
    return true;
}

} // namespace corvane::hid
