#pragma once

#include <cstddef>
#include <cstdint>

#include "hid/DeviceManager.h"

namespace corvane::protocol {

// One request-answer exchange with the current command interface of the device
// manager. `buffer` holds at least 65 bytes in request form; `length` is 33 or 65.
// Fails at once (nothing written) when the manager is not ready, has no current
// interface, or the length is neither. Otherwise stores the checksum, writes, and
// reads up to 50 times with 30 ms until an answer with status 0 arrives. True when one
// did; the buffer then holds the answer form. On failure it holds the last report read,
// or the request when the write failed or nothing came back.
bool transact(std::uint8_t* buffer, std::size_t length);
bool transact(hid::DeviceManager& manager, std::uint8_t* buffer, std::size_t length);

// Sends GetInfo to one given interface and waits for the answer; `info` (65 bytes)
// receives it in answer form and is left as it was on failure.
bool readInfo(hid::HidDevice* handle, std::uint8_t* info);
bool readInfo(hid::DeviceManager& manager, hid::HidDevice* handle, std::uint8_t* info);

} // namespace corvane::protocol
