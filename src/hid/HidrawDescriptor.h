#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane::hid {

// Reads the report descriptor of a hidraw node ("/dev/hidraw3") from the kernel's copy,
// <sysfsRoot>/class/hidraw/hidraw3/device/report_descriptor, which every user may read.
// Copies at most `size` bytes into `buffer`; the number copied, or -1 when the node's
// name is not a hidraw name or the file cannot be read.
int readHidrawReportDescriptor(const std::string& node, std::uint8_t* buffer, std::size_t size,
                               const std::string& sysfsRoot = "/sys");

} // namespace corvane::hid
