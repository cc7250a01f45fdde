#pragma once

#include "hid/HidApi.h"

namespace corvane::hid {

// HidApi over the hidapi library (hidraw back end).
class SystemHidApi final : public HidApi {
public:
    int init() override;
    int exit() override;
    std::vector<HidDeviceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    HidDevice* open_path(const std::string& path) override;
    int write(HidDevice* device, const std::uint8_t* data, std::size_t length) override;
    int read_timeout(HidDevice* device, std::uint8_t* data, std::size_t length,
                     int milliseconds) override;
    void close(HidDevice* device) override;
    void cancel_reads(HidDevice* device) override;
    int get_report_descriptor(HidDevice* device, std::uint8_t* buffer, std::size_t size) override;
};

} // namespace corvane::hid
