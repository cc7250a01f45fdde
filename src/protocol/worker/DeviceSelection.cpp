#include "protocol/worker/DeviceSelection.h"

#include <algorithm>

namespace corvane::protocol {

namespace {

bool contains(std::span<const int> types, int type) {
    return type > 0 && std::find(types.begin(), types.end(), type) != types.end();
}

} // namespace

int chooseDeviceType(int stored, int previous, std::span<const int> attached,
                     std::span<const int> listed) {
    const int selected = contains(listed, stored) ? stored : previous;
    if (attached.empty() || contains(attached, selected)) {
        return selected > 0 ? selected : 0;
    }
    for (int type : attached) {
        if (contains(listed, type)) {
            return type;
        }
    }
    for (int type : attached) {
        if (type > 0) {
            return type;
        }
    }
    return 0;
}

} // namespace corvane::protocol
