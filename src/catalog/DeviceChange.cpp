#include "catalog/DeviceChange.h"

#include <algorithm>

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

// Where these mice carry the command collection, for a pair the enumeration never
// showed.
constexpr int kUsualCommandInterface = 2;

// nn of the "&MI_nn" (hexadecimal) that follows `vidPid` in the upper-case path.
std::optional<int> interfaceNumberAfter(const QString& upperPath, const QString& vidPid) {
    const QString marker = vidPid + QStringLiteral("&MI_");
    const qsizetype at = upperPath.indexOf(marker);
    if (at < 0) {
        return std::nullopt;
    }
    bool ok = false;
    const int number = upperPath.mid(at + marker.size(), 2).toInt(&ok, 16);
    return ok ? std::optional<int>(number) : std::nullopt;
}

} // namespace

int matchDeviceChange(const QString& path, bool arrived, bool idlePolling,
                      const DeviceCatalog& catalog, const UsageLookup& usageOf,
                      const CommandInterfaceNumbers& commandInterfaces) {
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
        const std::optional<int> number = interfaceNumberAfter(upperPath, vidPidText(mode));
        if (!number)
            continue;
        std::vector<int> carrying;
        if (commandInterfaces)
            carrying = commandInterfaces(mode.vid, mode.pid);
        if (carrying.empty())
            carrying.push_back(kUsualCommandInterface);
        if (std::find(carrying.begin(), carrying.end(), *number) != carrying.end())
            return kDeviceRemovedTask;
    }
    return kNoDeviceTask;
}

} // namespace corvane::catalog
