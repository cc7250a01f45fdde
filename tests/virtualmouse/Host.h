#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "virtualmouse/VirtualMouse.h"

namespace corvane::vm::testing {

// A request as one whole report of the standard 64-byte command interface: report ID
// 0, then B0..B31 with the checksum in B31, then zeros.
inline std::vector<std::uint8_t> request(std::uint8_t code, std::uint8_t packet, std::uint8_t size,
                                         const std::vector<std::uint8_t>& parameters = {},
                                         std::size_t length = 65) {
    std::vector<std::uint8_t> buffer(length, 0);
    buffer[1] = code;
    buffer[3] = packet;
    buffer[4] = size;
    unsigned sum = 0;
    for (std::size_t i = 0; i < parameters.size() && i < 27; ++i) {
        buffer[5 + i] = parameters[i];
        sum += parameters[i];
    }
    buffer[32] = static_cast<std::uint8_t>(sum & 0xFF);
    return buffer;
}

inline std::vector<std::uint8_t> readRequest(std::uint8_t code) {
    return request(code, 0, 0);
}

// One open interface, used the way the program uses it.
class Host {
public:
    Host(VirtualMouse& bus, const std::string& path) : bus_(bus), handle_(bus.open_path(path)) {}
    ~Host() {
        if (handle_) {
            bus_.close(handle_);
        }
    }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    bool isOpen() const { return handle_ != nullptr; }
    int write(const std::vector<std::uint8_t>& bytes) {
        return bus_.write(handle_, bytes.data(), bytes.size());
    }
    // Reads one report into `report` (cleared first); the read's result.
    int read(std::array<std::uint8_t, 65>& report, int timeoutMs = 0, std::size_t length = 65) {
        report.fill(0);
        return bus_.read_timeout(handle_, report.data(), length, timeoutMs);
    }
    // Writes a request and returns the report that answers it (all zeros if none).
    std::array<std::uint8_t, 65> exchange(const std::vector<std::uint8_t>& bytes) {
        std::array<std::uint8_t, 65> report{};
        if (write(bytes) > 0) {
            read(report, 0);
        }
        return report;
    }

private:
    VirtualMouse& bus_;
    hid::HidDevice* handle_;
};

} // namespace corvane::vm::testing
