#include "support/ZipBuilder.h"

#include <QFile>
#include <QTemporaryDir>

#include <zip.h>
#include <zlib.h>

namespace corvane::test {

namespace {

bool addEntry(zipFile zip, const ZipEntry& entry) {
    zip_fileinfo info{};
    info.external_fa = static_cast<uLong>(entry.unixMode) << 16;
    const uLong madeBy = entry.unixMode ? (3u << 8) | 20u : 20u;
    const bool raw = entry.badCrc;
    const int method = entry.stored || raw ? 0 : Z_DEFLATED;
    if (zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                method, Z_DEFAULT_COMPRESSION, raw ? 1 : 0, -MAX_WBITS,
                                DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, madeBy, 0,
                                0) != ZIP_OK) {
        return false;
    }
    if (!entry.data.empty() &&
        zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())) !=
            ZIP_OK) {
        return false;
    }
    if (raw) {
        const uLong good = crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()),
                                 static_cast<uInt>(entry.data.size()));
        return zipCloseFileInZipRaw(zip, entry.data.size(), good ^ 0x1u) == ZIP_OK;
    }
    return zipCloseFileInZip(zip) == ZIP_OK;
}

} // namespace

bool writeZip(const QString& path, const std::vector<ZipEntry>& entries) {
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip) {
        return false;
    }
    bool ok = true;
    for (const ZipEntry& entry : entries) {
        ok = ok && addEntry(zip, entry);
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

std::string zipBytes(const std::vector<ZipEntry>& entries) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.zip"));
    if (!writeZip(path, entries)) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

} // namespace corvane::test
