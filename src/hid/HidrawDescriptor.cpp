#include "hid/HidrawDescriptor.h"

#include <fstream>

namespace corvane::hid {

namespace {

// "hidraw<digits>", the last part of the node's path; empty when it is not that.
std::string hidrawName(const std::string& node) {
    const std::size_t slash = node.find_last_of('/');
    std::string name = slash == std::string::npos ? node : node.substr(slash + 1);
    constexpr std::string_view kPrefix = "hidraw";
    if (name.size() <= kPrefix.size() || name.compare(0, kPrefix.size(), kPrefix) != 0 ||
        name.find_first_not_of("0123456789", kPrefix.size()) != std::string::npos) {
        return {};
    }
    return name;
}

} // namespace

int readHidrawReportDescriptor(const std::string& node, std::uint8_t* buffer, std::size_t size,
                               const std::string& sysfsRoot) {
    const std::string name = hidrawName(node);
    if (name.empty() || !buffer) {
        return -1;
    }
    std::ifstream file(sysfsRoot + "/class/hidraw/" + name + "/device/report_descriptor",
                       std::ios::binary);
    if (!file) {
        return -1;
    }
    file.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(size));
    if (file.bad()) {
        return -1;
    }
    return static_cast<int>(file.gcount());
}

} // namespace corvane::hid
