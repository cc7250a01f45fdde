#include "update/ZipExtract.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

namespace corvane::update {

namespace fs = std::filesystem;

namespace {

constexpr int kUnixHost = 3;
constexpr int kMacHost = 19; // writes Unix modes too
constexpr unsigned kDosDirectory = 0x10;
constexpr unsigned kEncrypted = 0x1;
constexpr std::size_t kNameBuffer = 65536;
constexpr std::size_t kReadBuffer = 65536;

struct ZipCloser {
    void operator()(void* zip) const { unzClose(zip); }
};
using ZipHandle = std::unique_ptr<void, ZipCloser>;

enum class EntryKind { File, Directory, Other };

EntryKind kindOf(const unz_file_info64& info, const std::string& name) {
    const int host = static_cast<int>(info.version >> 8);
    if (host == kUnixHost || host == kMacHost) {
        const unsigned mode = static_cast<unsigned>(info.external_fa >> 16);
        if (mode != 0) {
            if (S_ISDIR(mode)) {
                return EntryKind::Directory;
            }
            if (!S_ISREG(mode)) {
                return EntryKind::Other; // links, devices, pipes
            }
        }
    }
    if (!name.empty() && (name.back() == '/' || name.back() == '\\')) {
        return EntryKind::Directory;
    }
    if ((info.external_fa & kDosDirectory) && host != kUnixHost && host != kMacHost) {
        return EntryKind::Directory;
    }
    return EntryKind::File;
}

bool isInside(const fs::path& root, const fs::path& path) {
    auto r = root.begin();
    auto p = path.begin();
    for (; r != root.end(); ++r, ++p) {
        if (p == path.end() || *r != *p) {
            return false;
        }
    }
    return true;
}

// One extraction: what it wrote, so that a failure can take it back.
class Extraction {
public:
    Extraction(fs::path root, const ExtractLimits& limits)
        : root_(std::move(root)), limits_(limits) {}

    // Makes the folders of `relative` below the root, one part at a time; a part that
    // exists must be a real folder (not a link to one).
    bool makeFolders(const fs::path& relative) {
        fs::path at = root_;
        for (const fs::path& part : relative) {
            at /= part;
            std::error_code error;
            const fs::file_status status = fs::symlink_status(at, error);
            if (fs::is_directory(status)) {
                continue;
            }
            if (fs::exists(status) || !fs::create_directory(at, error) || error) {
                return false;
            }
            folders_.push_back(at);
        }
        return true;
    }

    bool writeEntry(unzFile zip, const fs::path& relative) {
        if (!makeFolders(relative.parent_path())) {
            return false;
        }
        const fs::path target = root_ / relative;
        std::error_code error;
        // The folders were checked not to be links; the file itself is replaced below.
        const fs::path resolved = fs::canonical(target.parent_path(), error) / target.filename();
        if (error || !isInside(root_, resolved)) {
            return false;
        }
        const fs::file_status status = fs::symlink_status(target, error);
        if (fs::is_directory(status)) {
            return false;
        }
        if (fs::exists(status) && !fs::remove(target, error)) {
            return false; // an earlier entry of the same name, or a leftover link
        }
        if (unzOpenCurrentFile(zip) != UNZ_OK) {
            return false;
        }
        const int fd =
            ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            unzCloseCurrentFile(zip);
            return false;
        }
        files_.push_back(target);
        bool ok = copyCurrent(zip, fd);
        ok = (unzCloseCurrentFile(zip) == UNZ_OK) && ok; // UNZ_CRCERROR on a bad CRC
        ok = (::close(fd) == 0) && ok;
        return ok;
    }

    // Takes back everything written: files first, then the folders made, innermost first.
    void undo() {
        std::error_code error;
        for (const fs::path& file : files_) {
            fs::remove(file, error);
        }
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) {
            fs::remove(*it, error); // only when empty
        }
    }

    bool makeFolder(const fs::path& relative) { return makeFolders(relative); }

private:
    bool copyCurrent(unzFile zip, int fd) {
        std::vector<char> buffer(kReadBuffer);
        for (;;) {
            const int got =
                unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
            if (got < 0) {
                return false;
            }
            if (got == 0) {
                return true;
            }
            total_ += static_cast<std::uint64_t>(got);
            if (total_ > limits_.maxTotalBytes) {
                return false;
            }
            const char* at = buffer.data();
            std::size_t left = static_cast<std::size_t>(got);
            while (left > 0) {
                const ssize_t written = ::write(fd, at, left);
                if (written <= 0) {
                    return false;
                }
                at += written;
                left -= static_cast<std::size_t>(written);
            }
        }
    }

    fs::path root_;
    ExtractLimits limits_;
    std::uint64_t total_ = 0;
    std::vector<fs::path> files_;
    std::vector<fs::path> folders_;
};

} // namespace

std::optional<std::string> entryPathInside(std::string_view storedName) {
    std::string name(storedName);
    for (char& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    std::string path;
    bool first = true;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos) {
            end = name.size();
        }
        const std::string_view part = std::string_view(name).substr(start, end - start);
        const bool drive = first && part.size() == 2 && part[1] == ':';
        if (!part.empty()) {
            first = false;
        }
        if (!part.empty() && part != "." && part != ".." && !drive) {
            if (!path.empty()) {
                path += '/';
            }
            path += part;
        }
        start = end + 1;
    }
    if (path.empty() || path.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return path;
}

bool extractAll(const QString& archive, const QString& folder, const ExtractLimits& limits) {
    const QByteArray archivePath = QFile::encodeName(archive);
    const fs::path folderPath(QFile::encodeName(folder).toStdString());
    std::error_code error;
    if (folderPath.empty()) {
        return false;
    }
    fs::create_directories(folderPath, error);
    const fs::path root = fs::canonical(folderPath, error);
    if (error || !fs::is_directory(root)) {
        return false;
    }
    ZipHandle zip(unzOpen64(archivePath.constData()));
    if (!zip) {
        return false;
    }
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(zip.get(), &global) != UNZ_OK ||
        global.number_entry > limits.maxEntries) {
        return false;
    }

    Extraction extraction(root, limits);
    std::vector<char> name(kNameBuffer + 1, '\0');
    std::uint64_t entries = 0;
    bool foundOnly = false;
    int step = unzGoToFirstFile(zip.get());
    for (; step == UNZ_OK; step = unzGoToNextFile(zip.get())) {
        if (++entries > limits.maxEntries) {
            break;
        }
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip.get(), &info, name.data(), kNameBuffer, nullptr, 0, nullptr,
                                    0) != UNZ_OK ||
            info.size_filename > kNameBuffer) {
            break;
        }
        const std::string stored(name.data(), info.size_filename);
        const EntryKind kind = kindOf(info, stored);
        const std::optional<std::string> relative = entryPathInside(stored);
        if (kind == EntryKind::Other || !relative) {
            continue;
        }
        if (!limits.onlyEntry.empty()) {
            if (kind != EntryKind::File || *relative != limits.onlyEntry) {
                continue;
            }
            if (foundOnly) {
                break; // the same name twice: which one was signed is not ours to guess
            }
            foundOnly = true;
        }
        bool ok = true;
        if (kind == EntryKind::Directory) {
            ok = extraction.makeFolder(fs::path(*relative));
        } else {
            ok = !(info.flag & kEncrypted) && extraction.writeEntry(zip.get(), fs::path(*relative));
        }
        if (!ok) {
            extraction.undo();
            return false;
        }
    }
    if (step != UNZ_END_OF_LIST_OF_FILE || (!limits.onlyEntry.empty() && !foundOnly)) {
        extraction.undo();
        return false;
    }
    return true;
}

} // namespace corvane::update
