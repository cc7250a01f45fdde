#include "virtualmouse/ReportLog.h"

#include "virtualmouse/VirtualDevice.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sstream>

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

namespace {

const char* onOff(bool on) {
    return on ? "on" : "off";
}

} // namespace

std::string heldStateText(const HeldSettings& held,
                          const std::vector<std::vector<MacroStep>>& macrosByButton) {
    std::ostringstream out;
    out << "stages=" << held.stageCount << '\n';
    out << "active stage=" << held.activeStage + 1 << '\n';
    for (std::size_t k = 0; k < held.stageDpi.size(); ++k) {
        out << "stage " << k + 1 << " dpi=" << held.stageDpi[k] << '\n';
        out << "stage " << k + 1 << " colour=" << held.stageColour[k] << '\n';
    }
    out << "rate=" << held.reportRateHz << " Hz\n";
    out << "lift-off=" << held.liftOffMm << " mm\n";
    out << "angle snapping=" << onOff(held.angleSnapping) << '\n';
    out << "ripple control=" << onOff(held.rippleControl) << '\n';
    out << "sleep=" << held.sleepSeconds << " s\n";
    out << "wake on motion=" << onOff(held.wakeOnMotion) << '\n';
    out << "light off while moving=" << onOff(held.lightOffWhileMoving) << '\n';
    out << "response time=" << held.responseMs << " ms\n";
    for (std::size_t i = 0; i < held.buttons.size(); ++i)
        out << "button index " << i << '=' << held.buttons[i] << '\n';
    out << "lighting mode=" << held.lighting.mode << '\n';
    out << "lighting brightness=" << held.lighting.brightness << '\n';
    out << "lighting speed=" << held.lighting.speed << '\n';
    out << "lighting colours=";
    for (std::size_t i = 0; i < held.lighting.colours.size(); ++i)
        out << (i ? " " : "") << held.lighting.colours[i];
    out << '\n';
    for (std::size_t button = 0; button < macrosByButton.size(); ++button) {
        if (macrosByButton[button].empty())
            continue;
        out << "macro " << button << '=';
        for (std::size_t i = 0; i < macrosByButton[button].size(); ++i) {
            const MacroStep& step = macrosByButton[button][i];
            out << (i ? ", " : "") << step.action << ' ' << step.delayMs << " ms";
        }
        out << '\n';
    }
    return out.str();
}

void writeHeldState(std::uint16_t vendorId, std::uint16_t productId, const std::string& text) {
    static const std::string folder = [] {
        const char* chosen = std::getenv("CORVANE_VIRTUAL_MOUSE_HELD");
        return std::string(chosen ? chosen : "");
    }();
    if (folder.empty())
        return;
    char name[16];
    std::snprintf(name, sizeof name, "%04X-%04X", vendorId, productId);
    const std::filesystem::path path = std::filesystem::path(folder) / (std::string(name) + ".txt");
    std::filesystem::path partial = path;
    partial += ".part";
    if (std::FILE* out = std::fopen(partial.c_str(), "w")) {
        const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
        if (std::fclose(out) == 0 && written) {
            std::error_code ignored;
            std::filesystem::rename(partial, path, ignored);
        }
    }
}

} // namespace corvane::vm
