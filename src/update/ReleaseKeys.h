#pragma once
// The public keys that releases are signed with, one per purpose, built into the
// program. A release manager who signs with another key replaces the line here (the
// second line of the key's .pub file) and builds again. The keys below are placeholders
// whose secret halves were not kept: nothing verifies against them until they are
// replaced with the release keys.

namespace corvane::update {

// Signs every setup archive (Mouse-Setup-<version>.zip.minisig beside it).
inline constexpr const char* kSetupPublicKey =
    "RWSZJBvyJpJiLkq1zNdVb6lFBX05OVEIYPmkxI+fGQXZspqSrOrAW5k7";

// Signs every firmware manifest (firmware-<version>.manifest.minisig beside it).
inline constexpr const char* kFirmwarePublicKey =
    "RWQWZTpC1euLbg2RfyYvMbH+FULVY4ztK8/m1JZLnym6vt5+6QUZtldd";

} // namespace corvane::update
