#include "app/window/DeviceKind.h"

#include <algorithm>

namespace corvane::app {

int connectionKindOf(const std::vector<hid::ConnectedDevice>& devices, int deviceType) {
    const auto hasMode = [&](int mode) {
        return std::any_of(devices.begin(), devices.end(), [&](const hid::ConnectedDevice& d) {
            return d.deviceType == deviceType && d.mode == mode;
        });
    };
    if (deviceType <= 0)
        return -1;
    if (hasMode(hid::kModeWired))
        return hid::kModeWired;
    if (hasMode(hid::kModeWireless))
        return hid::kModeWireless;
    return -1;
}

} // namespace corvane::app

namespace corvane::app {

namespace {

// Lower is better.
int rankOf(const protocol::DeviceListEntry& entry) {
    const bool online = entry.onlineState == hid::kOnline;
    if (online)
        return entry.mode == hid::kModeWired ? 0 : 1;
    return 2;
}

} // namespace

std::vector<protocol::DeviceListEntry>
listEntriesByType(const std::vector<protocol::DeviceListEntry>& attached) {
    std::vector<protocol::DeviceListEntry> chosen;
    for (const protocol::DeviceListEntry& entry : attached) {
        auto it = std::find_if(chosen.begin(), chosen.end(),
                               [&](const auto& c) { return c.deviceType == entry.deviceType; });
        if (it == chosen.end())
            chosen.push_back(entry);
        else if (rankOf(entry) < rankOf(*it))
            *it = entry;
    }
    return chosen;
}

} // namespace corvane::app
