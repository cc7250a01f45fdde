#pragma once
// Unpacking a downloaded zip archive into a folder of ours.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace corvane::update {

struct ExtractLimits {
    std::uint64_t maxTotalBytes = std::uint64_t{1} << 30; // unpacked bytes of all entries
    std::uint64_t maxEntries = 10000;
    // When not empty, only the file of this path (as entryPathInside gives it) is
    // unpacked and every other entry is passed over unread; without it the extraction
    // fails.
    std::string onlyEntry;
};

// The place inside the target folder that an entry name stands for: backslashes become
// slashes, then empty, "." and ".." parts and a leading drive ("C:") are dropped, so
// "../../etc/x", "/etc/x" and "C:\etc\x" all give "etc/x". Nothing when no part is left.
std::optional<std::string> entryPathInside(std::string_view storedName);

// Unpacks every regular file of the archive into `folder` (made when missing), each
// under entryPathInside of its name; directories are made as needed, symbolic links and
// other special entries are skipped. A file is never written through a symbolic link,
// and every path is checked to be inside the folder before it is written.
//
// False, with every file this call wrote removed again, when the archive cannot be
// opened or read, an entry is encrypted or fails its CRC check, a path would lead
// outside the folder, a file cannot be written, or the unpacked size or the number of
// entries exceeds the limits.
bool extractAll(const QString& archive, const QString& folder, const ExtractLimits& limits = {});

} // namespace corvane::update
