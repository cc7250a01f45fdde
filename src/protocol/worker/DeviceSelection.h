#pragma once

#include <span>

namespace corvane::protocol {

// Which device type becomes current after a scan.
//
// The device list selects the stored type when it lists it (the catalog has a
// description of that type) and otherwise keeps its previous selection. That choice
// stands when a device of the type is attached. When none is, the first attached type
// the list knows is taken instead (rather than showing "no device" beside a supported
// mouse), and when the list knows none of the attached types, the first attached one.
//
// stored: the stored "DeviceType"; previous: the current type before the scan (0
// none); attached: the types of the identified attached devices in scan order (not
// empty for a useful answer); listed: the catalog's device types. With nothing
// attached the answer is the list's own choice (0 when there is none).
int chooseDeviceType(int stored, int previous, std::span<const int> attached,
                     std::span<const int> listed);

} // namespace corvane::protocol
