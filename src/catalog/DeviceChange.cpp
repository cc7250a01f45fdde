#include "catalog/DeviceChange.h"

namespace corvane::catalog {
namespace {

// The collections a command interface is recognised by.
constexpr std::pair<int, int> kCommandCollections[] = {
    {0x0001, 0x0000},
    {0xFF01, 0x0010},
};

bool isCommandCollection(const std::pair<int, int>& usage) {
    for (const auto& collection : kCommandCollections) {
        if (collection == usage)
            return true;
    }
    return false;
}

// "VID_xxxx&PID_xxxx" with four upper-case hexadecimal digits each.
QString vidPidText(const DeviceMode& mode) {
    return QStringLiteral("VID_%1&PID_%2")
        .arg(mode.vid, 4, 16, QLatin1Char('0'))
        .arg(mode.pid, 4, 16, QLatin1Char('0'))
        .toUpper();
}

// Interface 2 of the composite device: the one whose removal means the mouse left.
constexpr QLatin1StringView kRemovedInterface("&MI_02");

} // namespace

int matchDeviceChange(const QString& path, bool arrived, bool idlePolling,
                      const DeviceCatalog& catalog, const UsageLookup& usageOf) {
    const QString upperPath = path.toUpper();
    if (arrived) {
        for (const DeviceMode& mode : catalog.modes) {
            if (!upperPath.contains(vidPidText(mode)))
                continue;
            // The first matching entry decides: the arrived interface itself must be
            // the command interface, not one of the device's other collections.
            const std::optional<std::pair<int, int>> usage = usageOf ? usageOf(path) : std::nullopt;
            return usage && isCommandCollection(*usage) ? kDeviceArrivedTask : kNoDeviceTask;
        }
        return kNoDeviceTask;
    }
    if (!idlePolling)
        return kNoDeviceTask;
    for (const DeviceMode& mode : catalog.modes) {
        if (upperPath.contains(vidPidText(mode) + kRemovedInterface))
            return kDeviceRemovedTask;
    }
    return kNoDeviceTask;
}

} // namespace corvane::catalog
