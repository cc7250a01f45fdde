#pragma once
// The commands about device files that corvanectl runs on its own, without a window
// or a worker: probe, check-device and udev-rule.

#include "cli/Handover.h"
#include "control/requests/Request.h"

#include <optional>

namespace corvane::cli {

// The answer of a device-file command; nothing when `request` is another command.
// `userFolder` is where the user's device files are.
std::optional<control::Answer> runDeviceFileCommand(const Installation& installation,
                                                    const control::Request& request,
                                                    bool virtualMouse, const QString& userFolder);

} // namespace corvane::cli
