#pragma once
// The signed manifest beside a firmware image on the server: which mice it is for,
// which version it is and the SHA-256 of the image. The image is written into a mouse
// only when the manifest's signature holds and the manifest names that mouse, the
// version offered and the image's hash.
//
// The manifest is text, one `name=value` a line ("#" starts a comment line):
//
//     usb=1209:c0a1          vendor:product in hexadecimal; one line per product
//     version=106            the firmware version, as the server's version text gives it
//     sha256=<64 hex digits>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include <QString>

namespace corvane::update {

struct FirmwareManifest {
    std::vector<std::pair<int, int>> products; // vendor and product ids
    QString version;
    std::array<std::uint8_t, 32> sha256{};
};

// Nothing when a line is not `name=value`, a usb, version or sha256 value is malformed,
// version or sha256 is missing or given twice, or no usb line is present. Names it does
// not know are left alone.
std::optional<FirmwareManifest> parseFirmwareManifest(std::string_view text);

enum class ImageCheck {
    Accepted,
    OtherMouse,   // the manifest does not name this vendor and product id
    OtherVersion, // it is for another version than the one offered
    OtherImage,   // the image's SHA-256 differs
};

ImageCheck checkFirmwareImage(const FirmwareManifest& manifest, int vendorId, int productId,
                              const QString& offeredVersion, std::span<const std::uint8_t> image);

} // namespace corvane::update
