#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "hid/HidApi.h"

namespace corvane::vm {

// A test hook for programs that run with the virtual mice in a process of their own
// (corvane --virtual-mouse, corvanectl --virtual-mouse): every report the program writes
// to a virtual device is appended to a file as one line, "<path> <hex bytes>", the
// bytes exactly as the program handed them over (report ID first). Each line is
// written with one append, so several processes may share the file.
class ReportLog final : public hid::HidApi {
public:
    ReportLog(std::shared_ptr<hid::HidApi> devices, std::string logPath);

    int init() override;
    int exit() override;
    std::vector<hid::HidDeviceInfo> enumerate(std::uint16_t vendorId,
                                              std::uint16_t productId) override;
    hid::HidDevice* open_path(const std::string& path) override;
    int write(hid::HidDevice* device, const std::uint8_t* data, std::size_t length) override;
    int read_timeout(hid::HidDevice* device, std::uint8_t* data, std::size_t length,
                     int milliseconds) override;
    void close(hid::HidDevice* device) override;

private:
    std::shared_ptr<hid::HidApi> devices_;
    std::string logPath_;
    std::mutex mutex_;                                   // paths_
    std::map<const hid::HidDevice*, std::string> paths_; // so each line names its interface
};

// The name of the variable that switches the log on.
inline constexpr char kReportLogVariable[] = "CORVANE_VIRTUAL_MOUSE_LOG";

// `devices` wrapped in a ReportLog when CORVANE_VIRTUAL_MOUSE_LOG names a file, else
// `devices` itself.
std::shared_ptr<hid::HidApi> withReportLog(std::shared_ptr<hid::HidApi> devices);

} // namespace corvane::vm
