#pragma once

#include <chrono>

#include "update/BootloaderLink.h"
#include "update/HttpClient.h"
#include "update/ZipExtract.h"

namespace corvane::protocol {

// How the worker's update tasks reach the server and the bootloader. The program uses
// these values; tests shorten the waits.
struct UpdateConfig {
    // Whether the update tasks contact the server at all. Distribution builds
    // (CORVANE_UPDATE_CHECKS=OFF) never do: their checks, downloads and firmware upgrades
    // end before the first request.
    bool networkAllowed = CORVANE_UPDATE_CHECKS != 0;
    update::HttpClient::Limits http;
    update::ExtractLimits extract;
    update::BootTiming boot;
    // Before and after the firmware progress window is closed at the end of an upgrade.
    std::chrono::milliseconds afterUpgrade{100};
};

} // namespace corvane::protocol
