#pragma once
// Zip archives made in the test with minizip's writer, hostile ones included.

#include <cstdint>
#include <string>
#include <vector>

#include <QString>

namespace corvane::test {

struct ZipEntry {
    std::string name;
    std::string data;
    bool stored = false;   // no compression
    unsigned unixMode = 0; // written as a Unix entry with this mode when not 0
    bool badCrc = false;   // stored with a CRC that does not match the data
};

// A regular file, a symbolic link (its data is the target) and a folder, as Unix writes them.
inline constexpr unsigned kRegularMode = 0100644;
inline constexpr unsigned kLinkMode = 0120777;
inline constexpr unsigned kFolderMode = 0040755;

bool writeZip(const QString& path, const std::vector<ZipEntry>& entries);

// The bytes of an archive written by writeZip.
std::string zipBytes(const std::vector<ZipEntry>& entries);

} // namespace corvane::test
