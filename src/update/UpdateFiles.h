#pragma once
// The names and addresses of the files on the download server and in the temporary
// folder, and the file work around them.

#include <cstdint>
#include <optional>
#include <vector>

#include <QString>

namespace corvane::update {

// Program: the newest version's text, the setup archive and the setup program in it
// (an executable installer; the name carries no ".exe" on this system).
QString programVersionAddress(const QString& upgradeBase);
QString setupArchiveName(const QString& version);
QString setupArchiveAddress(const QString& upgradeBase, const QString& archiveName);
QString setupProgramName(const QString& version);

// Firmware: the newest version's text, the archive and the image in it.
QString firmwareVersionAddress(const QString& firmwareBase);
QString firmwareArchiveName(const QString& version);
QString firmwareArchiveAddress(const QString& firmwareBase, const QString& archiveName);
QString firmwareImageName(const QString& version);
// The signed manifest beside the firmware archive (see FirmwareManifest.h).
QString firmwareManifestAddress(const QString& firmwareBase, const QString& version);

// The minisign signature the server holds beside the file at `address`.
QString signatureAddress(const QString& address);

// Whether `path` is a regular file (a symbolic link is not, whatever it points to).
bool isRegularFile(const QString& path);

// Lets the owner, the group and others run the regular file at `path` (rwxr-xr-x).
bool makeExecutable(const QString& path);

// The whole regular file at `path` when it holds 1 to maxBytes bytes.
std::optional<std::vector<std::uint8_t>> readImageFile(const QString& path, std::size_t maxBytes);

} // namespace corvane::update
