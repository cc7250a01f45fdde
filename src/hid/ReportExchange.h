#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "hid/HidApi.h"
#include "hid/ReportDescriptor.h"

namespace corvane::hid {

// The framing of a command report on the wire and its request-answer exchange.
//
// A report body is 32 bytes, B0..B31. A request is handed to the HID layer as the
// report ID 0x00 followed by the body (buffer byte k = B(k-1)), 33 bytes long, or 65
// with zeros after the body. The answer comes back without the report ID (buffer
// byte k = B(k)). That is how the command collection's reports look on the wire when
// the interface numbers none; on an interface with numbered reports, the ID of the
// command collection's report takes the place of 0x00 and precedes every answer.
// B1 of an answer is its status: 0x00 accepts it, anything else says
// "not (yet) the answer". B31 of a request is the checksum of B4..B30.
//
// What the bytes of a command mean is the protocol layer's business; the device
// manager only needs GetInfo, which is therefore built here.

inline constexpr std::size_t kReportBufferSize = 65;
inline constexpr std::size_t kShortReportLength = 33;
inline constexpr std::size_t kLongReportLength = 65;
inline constexpr std::uint8_t kReportId = 0x00;
inline constexpr std::uint8_t kStatusAccepted = 0x00;
inline constexpr std::uint8_t kGetInfoCommand = 0x10;

// Buffer positions in the request form.
inline constexpr std::size_t kRequestCommandIndex = 1;
inline constexpr std::size_t kRequestPacketIndex = 3;
inline constexpr std::size_t kRequestSizeIndex = 4;
inline constexpr std::size_t kRequestFirstParameterIndex = 5; // B4
inline constexpr std::size_t kRequestLastParameterIndex = 31; // B30
inline constexpr std::size_t kRequestChecksumIndex = 32;      // B31
// Buffer positions in the answer form.
inline constexpr std::size_t kAnswerStatusIndex = 1;
inline constexpr std::size_t kAnswerFirstDataIndex = 4;

inline constexpr int kAnswerTimeoutMs = 30;
inline constexpr int kAnswerAttempts = 50;

// The sum of B4..B30 (request buffer bytes 5..31) modulo 256.
std::uint8_t requestChecksum(const std::uint8_t* request);
// Stores requestChecksum in B31 (request buffer byte 32).
void storeRequestChecksum(std::uint8_t* request);

class HeldNotices;
class InterfaceReader;

// One interface to exchange reports with, and how they travel on it.
struct Channel {
    HidApi& api;
    HidDevice* device = nullptr;
    // From the interface's report descriptor. hidraw sends exactly the bytes it is
    // given: with a known layout every write goes out as one whole output report, its
    // report ID first and zeros after the request; without one, as the caller made it.
    ReportLayout layout;
    // Where notices read while waiting for an answer are kept (nullptr: dropped).
    HeldNotices* notices = nullptr;
    // Once set, an exchange ends at its next read, failed; a scan or a stop sets it.
    const std::atomic<bool>* interrupted = nullptr;
    // The interface's reader, when one reads it: answers are taken from it (it holds
    // the notices itself). Without one the exchange reads the handle itself.
    InterfaceReader* reader = nullptr;
};

// Frames the first `length` bytes of a request (report ID byte 0x00, then the body) as
// the output report of `layout`: its report ID, then the body, zero-padded or cut to
// the report's length. Nothing when the report cannot carry the request (shorter than
// the 32-byte body, or a byte that is not zero would be cut).
std::optional<std::vector<std::uint8_t>>
frameRequest(const std::uint8_t* request, std::size_t length, const ReportLayout& layout);

// Reads one report of the interface's command collection into `buffer` (answer form,
// report ID taken off for numbered reports; at most `length` bytes), waiting up to
// `timeoutMs`. Reports of other collections sharing the node are passed over. The
// number of bytes, 0 when none came in time, -1 on failure.
int readOwnReport(const Channel& channel, std::uint8_t* buffer, std::size_t length, int timeoutMs);

// Writes the first `length` bytes of `buffer` (request form, checksum already stored;
// length 33 or 65) to the channel, framed by frameRequest, then reads up to
// kAnswerAttempts times with kAnswerTimeoutMs until a report with status 0x00 arrives
// (from the channel's reader when it has one).
// A notice (B0 0xC0 or 0xC2) is never the answer: it is held for the next notification
// poll and the wait goes on. A report of fewer than two bytes carries no status and is
// not accepted; bytes a report did not fill are zeroed. Afterwards the first `length`
// bytes of `buffer` hold the last report read (the request itself when nothing was
// read), or the request when the write failed. True when an answer was accepted.
// The buffer must hold at least `length` bytes.
bool exchangeReport(const Channel& channel, std::uint8_t* buffer, std::size_t length);

// Sends GetInfo (33 bytes) on the channel and waits for its answer as exchangeReport
// does. On success the 65-byte `info` receives the answer form (B4..B7 identifier, B10
// sensor, B11 report-rate class, B12 battery status, B13 battery level, B14 connected
// flag); on failure `info` is left as it was.
bool readDeviceInfo(const Channel& channel, std::uint8_t* info);

} // namespace corvane::hid
