#pragma once

#include "i18n/IniFile.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <chrono>
#include <cstdint>

namespace corvane::i18n {

// Answers lookups in one initialisation file at a time, keeping its parsed contents so that
// repeated lookups do not read and parse the file again. Every answer is the one a fresh read
// of the file would give:
//  - the file is checked (stat) on every lookup and read again when its path, device, inode,
//    size, modification time or change time differs from the copy held;
//  - a file changed within `racyWindow` before it was read may still change without its time
//    stamps moving (file systems keep times coarser than the writes), so such a copy is trusted
//    only after a read that found the file older than that.
// A missing, unreadable or non-regular file, or one above kMaxFileBytes, gives empty texts.
// Not thread-safe: callers serialise access.
class IniFileCache {
public:
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    explicit IniFileCache(std::chrono::nanoseconds racyWindow = std::chrono::seconds(5));

    QString value(const QString& path, QStringView section, QStringView key);

    // How many times a file was read from disk; lets callers see the cache at work.
    int fileReads() const { return fileReads_; }

private:
    struct Stamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t changedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    void refresh(const QString& path);
    void forget();

    std::chrono::nanoseconds racyWindow_;
    QString path_;
    Stamp stamp_;
    bool trusted_ = false;
    QByteArray bytes_;
    IniFile file_;
    int fileReads_ = 0;
};

} // namespace corvane::i18n
