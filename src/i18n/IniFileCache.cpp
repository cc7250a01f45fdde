#include "i18n/IniFileCache.h"

#include "i18n/AnsiText.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace corvane::i18n {

namespace {

std::int64_t nanoseconds(const timespec& time) {
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// The same clock the kernel stamps files with.
std::int64_t realTimeNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

struct Snapshot {
    QByteArray bytes;
    struct stat status {};
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// The whole contents of a regular file, with the status of the very file that was read.
// O_NONBLOCK keeps a FIFO placed under the name from blocking the reader.
std::optional<Snapshot> readRegularFile(const QByteArray& nativePath, qint64 maxBytes) {
    const FileDescriptor fd(::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return std::nullopt;
    Snapshot snapshot;
    if (::fstat(fd.get(), &snapshot.status) != 0 || !S_ISREG(snapshot.status.st_mode) ||
        snapshot.status.st_size > maxBytes)
        return std::nullopt;

    // Read to the end rather than trusting st_size: the file may grow or shrink meanwhile.
    snapshot.bytes.resize(qsizetype(snapshot.status.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == snapshot.bytes.size()) {
            if (filled > maxBytes)
                return std::nullopt;
            snapshot.bytes.resize(std::min<qsizetype>(filled * 2, maxBytes + 1));
        }
        const ssize_t got = ::read(fd.get(), snapshot.bytes.data() + filled,
                                   size_t(snapshot.bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > maxBytes)
        return std::nullopt;
    snapshot.bytes.truncate(filled);
    return snapshot;
}

} // namespace

IniFileCache::IniFileCache(std::chrono::nanoseconds racyWindow) : racyWindow_(racyWindow) {}

QString IniFileCache::value(const QString& path, QStringView section, QStringView key) {
    refresh(path);
    return file_.value(section, key);
}

void IniFileCache::forget() {
    path_.clear();
    stamp_ = {};
    trusted_ = false;
    bytes_.clear();
    file_ = {};
}

void IniFileCache::refresh(const QString& path) {
    const auto stampOf = [](const struct stat& status) {
        return Stamp{std::uint64_t(status.st_dev), std::uint64_t(status.st_ino),
                     std::int64_t(status.st_size), nanoseconds(status.st_mtim),
                     nanoseconds(status.st_ctim)};
    };
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status {};
    if (path.isEmpty() || ::stat(nativePath.constData(), &status) != 0) {
        forget();
        return;
    }
    if (trusted_ && path == path_ && stampOf(status) == stamp_)
        return;

    const std::int64_t readStartedNs = realTimeNs();
    std::optional<Snapshot> snapshot = readRegularFile(nativePath, kMaxFileBytes);
    if (!snapshot) {
        forget();
        return;
    }
    ++fileReads_;
    if (path != path_ || snapshot->bytes != bytes_) {
        file_ = IniFile::fromBytes(snapshot->bytes, ansiCodeset());
        bytes_ = std::move(snapshot->bytes);
        path_ = path;
    }
    stamp_ = stampOf(snapshot->status);
    const std::int64_t lastTouchedNs = std::max(stamp_.modifiedNs, stamp_.changedNs);
    trusted_ = lastTouchedNs < readStartedNs - std::int64_t(racyWindow_.count());
}

} // namespace corvane::i18n
