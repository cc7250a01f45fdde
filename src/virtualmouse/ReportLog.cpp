#include "virtualmouse/ReportLog.h"

#include "virtualmouse/VirtualDevice.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>

namespace corvane::vm {

namespace {

struct LogFile {
    std::mutex mutex;
    std::optional<std::string> name; // unset until first used or set
};

LogFile& logFile() {
    static LogFile file;
    return file;
}

} // namespace

std::string reportLogLine(long long millisecondsSinceEpoch, std::string_view device,
                          const std::uint8_t* data, std::size_t length) {
    const std::time_t seconds = static_cast<std::time_t>(millisecondsSinceEpoch / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[40];
    const std::size_t used = std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    std::string line(stamp, used);
    char millis[8];
    std::snprintf(millis, sizeof millis, ".%03d", static_cast<int>(millisecondsSinceEpoch % 1000));
    line += millis;
    line += ' ';
    line += device;
    for (std::size_t i = 0; i < length; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, " %02X", data[i]);
        line += byte;
    }
    line += '\n';
    return line;
}

void logReceivedReport(const VirtualHandle& handle, const std::uint8_t* data, std::size_t length) {
    LogFile& file = logFile();
    std::lock_guard lock(file.mutex);
    if (!file.name) {
        const char* chosen = std::getenv("CORVANE_VIRTUAL_MOUSE_LOG");
        file.name = chosen ? chosen : "";
    }
    if (file.name->empty() || !data)
        return;
    const VirtualDevice::Ids ids = handle.device->ids();
    char device[32];
    std::snprintf(device, sizeof device, "%04X:%04X/%zu", ids.vendorId, ids.productId,
                  handle.nodeIndex);
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const std::string line = reportLogLine(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count(), device, data, length);
    if (std::FILE* out = std::fopen(file.name->c_str(), "a")) {
        std::fwrite(line.data(), 1, line.size(), out);
        std::fclose(out);
    }
}

void setReportLogFile(const std::string& file) {
    LogFile& log = logFile();
    std::lock_guard lock(log.mutex);
    log.name = file;
}

} // namespace corvane::vm
