// Unpacks arbitrary bytes as a zip archive into a scratch folder. Nothing may crash, and
// nothing may be written outside the target folder: after each run the folder around it
// must hold only the target folder, with no link in it, and a failed extraction must
// leave the target folder empty.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QString>

#include "update/ZipExtract.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder for one run, memory-backed when the system has it (every run writes and
// deletes files); the run removes it again.
fs::path makeScratch() {
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "corvane-zip-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::abort();
    }
    return fs::path(pattern);
}

[[noreturn]] void fail(const char* what, const fs::path& path) {
    std::fprintf(stderr, "%s: %s\n", what, path.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path scratch = makeScratch();
    const fs::path archive = scratch / "archive.zip";
    const fs::path sandbox = scratch / "sandbox";
    const fs::path target = sandbox / "temp";
    fs::create_directories(target);
    {
        std::ofstream out(archive, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    corvane::update::ExtractLimits limits;
    limits.maxTotalBytes = 1024 * 1024;
    limits.maxEntries = 500;
    const bool ok = corvane::update::extractAll(QString::fromStdString(archive.string()),
                                                QString::fromStdString(target.string()), limits);

    for (auto it = fs::recursive_directory_iterator(sandbox);
         it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& path = it->path();
        const std::string relative = fs::relative(path, sandbox).string();
        if (relative != "temp" && relative.rfind("temp/", 0) != 0) {
            fail("written outside the target folder", path);
        }
        if (fs::is_symlink(it->symlink_status())) {
            fail("a link was made", path);
        }
        if (!ok && !fs::is_directory(it->symlink_status())) {
            fail("a failed extraction left a file", path);
        }
    }
    fs::remove_all(scratch);
    return 0;
}
