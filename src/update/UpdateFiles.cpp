#include "update/UpdateFiles.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include <QFile>

namespace corvane::update {

namespace fs = std::filesystem;

namespace {

fs::path nativePath(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

} // namespace

QString programVersionAddress(const QString& upgradeBase) {
    return upgradeBase + QStringLiteral("version");
}

QString setupArchiveName(const QString& version) {
    return QStringLiteral("Mouse-Setup-%1.zip").arg(version);
}

QString setupArchiveAddress(const QString& upgradeBase, const QString& archiveName) {
    return QStringLiteral("%1//%2").arg(upgradeBase, archiveName);
}

QString setupProgramName(const QString& version) {
    return QStringLiteral("Mouse-Setup-%1").arg(version);
}

QString firmwareVersionAddress(const QString& firmwareBase) {
    return firmwareBase + QStringLiteral("/mouse/version");
}

QString firmwareArchiveName(const QString& version) {
    return QStringLiteral("firmware-%1.zip").arg(version);
}

QString firmwareArchiveAddress(const QString& firmwareBase, const QString& archiveName) {
    return QStringLiteral("%1//mouse//%2").arg(firmwareBase, archiveName);
}

QString firmwareImageName(const QString& version) {
    return QStringLiteral("firmware     -%1.bin").arg(version);
}

QString firmwareManifestAddress(const QString& firmwareBase, const QString& version) {
    return QStringLiteral("%1//mouse//firmware-%2.manifest").arg(firmwareBase, version);
}

QString signatureAddress(const QString& address) {
    return address + QStringLiteral(".minisig");
}

bool isRegularFile(const QString& path) {
    std::error_code error;
    return fs::is_regular_file(fs::symlink_status(nativePath(path), error));
}

bool makeExecutable(const QString& path) {
    if (!isRegularFile(path)) {
        return false;
    }
    std::error_code error;
    fs::permissions(nativePath(path),
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace | fs::perm_options::nofollow, error);
    return !error;
}

std::optional<std::vector<std::uint8_t>> readImageFile(const QString& path, std::size_t maxBytes) {
    if (!isRegularFile(path)) {
        return std::nullopt;
    }
    std::ifstream file(nativePath(path), std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(maxBytes + 1);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto got = static_cast<std::size_t>(file.gcount());
    if (got == 0 || got > maxBytes || file.bad()) {
        return std::nullopt;
    }
    bytes.resize(got);
    return bytes;
}

} // namespace corvane::update
