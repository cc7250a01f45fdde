#pragma once

#include <chrono>
#include <string>

#include "update/BootPackets.h"
#include "update/BootloaderLink.h"
#include "update/HttpClient.h"
#include "update/ReleaseKeys.h"
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
    // The setup archive is unpacked with `extract`, the firmware archive with limits sized
    // to the largest image a bootloader takes; only the expected file is taken from either.
    update::ExtractLimits extract;
    update::ExtractLimits firmwareExtract{update::kMaxImageBytes, 64, {}};
    update::BootTiming boot;
    // The keys whose signatures a setup archive and a firmware manifest must carry (the
    // base64 line of a minisign public key). Tests sign with keys of their own.
    std::string setupPublicKey = update::kSetupPublicKey;
    std::string firmwarePublicKey = update::kFirmwarePublicKey;
    // Before and after the firmware progress window is closed at the end of an upgrade.
    std::chrono::milliseconds afterUpgrade{100};
};

} // namespace corvane::protocol
