#include "virtualmouse/ReportLog.h"

#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace corvane::vm {

namespace {

void appendLine(const std::string& logPath, const std::string& line) {
    const int fd = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), line.size());
    ::close(fd);
}

} // namespace

ReportLog::ReportLog(std::shared_ptr<hid::HidApi> devices, std::string logPath)
    : devices_(std::move(devices)), logPath_(std::move(logPath)) {}

int ReportLog::init() {
    return devices_->init();
}

int ReportLog::exit() {
    return devices_->exit();
}

std::vector<hid::HidDeviceInfo> ReportLog::enumerate(std::uint16_t vendorId,
                                                     std::uint16_t productId) {
    return devices_->enumerate(vendorId, productId);
}

hid::HidDevice* ReportLog::open_path(const std::string& path) {
    hid::HidDevice* device = devices_->open_path(path);
    if (device) {
        std::lock_guard lock(mutex_);
        paths_[device] = path;
    }
    return device;
}

int ReportLog::write(hid::HidDevice* device, const std::uint8_t* data, std::size_t length) {
    std::string line;
    {
        std::lock_guard lock(mutex_);
        const auto found = paths_.find(device);
        line = found != paths_.end() ? found->second : std::string("?");
    }
    char hex[4];
    for (std::size_t i = 0; i < length; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", data[i]);
        line += hex;
    }
    line += '\n';
    appendLine(logPath_, line);
    return devices_->write(device, data, length);
}

int ReportLog::read_timeout(hid::HidDevice* device, std::uint8_t* data, std::size_t length,
                            int milliseconds) {
    return devices_->read_timeout(device, data, length, milliseconds);
}

void ReportLog::close(hid::HidDevice* device) {
    {
        std::lock_guard lock(mutex_);
        paths_.erase(device);
    }
    devices_->close(device);
}

std::shared_ptr<hid::HidApi> withReportLog(std::shared_ptr<hid::HidApi> devices) {
    const char* path = std::getenv(kReportLogVariable);
    if (path == nullptr || *path == '\0') {
        return devices;
    }
    return std::make_shared<ReportLog>(std::move(devices), path);
}

} // namespace corvane::vm
