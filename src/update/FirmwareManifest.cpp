#include "update/FirmwareManifest.h"

#include <algorithm>
#include <charconv>

#include <sodium.h>

namespace corvane::update {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<int> hexNumber(std::string_view text, std::size_t maxDigits) {
    int value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.size() > maxDigits ||
        std::from_chars(text.data(), end, value, 16).ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::pair<int, int>> usbIds(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<int> vendor = hexNumber(text.substr(0, colon), 4);
    const std::optional<int> product = hexNumber(text.substr(colon + 1), 4);
    if (!vendor || !product) {
        return std::nullopt;
    }
    return std::pair{*vendor, *product};
}

bool isVersion(std::string_view text) {
    return !text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

bool sha256From(std::string_view text, std::array<std::uint8_t, 32>& out) {
    std::size_t got = 0;
    const char* end = nullptr;
    return text.size() == 64 &&
           sodium_hex2bin(out.data(), out.size(), text.data(), text.size(), nullptr, &got, &end) ==
               0 &&
           got == out.size() && end == text.data() + text.size();
}

} // namespace

std::optional<FirmwareManifest> parseFirmwareManifest(std::string_view text) {
    FirmwareManifest manifest;
    bool haveVersion = false;
    bool haveHash = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view name = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (name == "usb") {
            const std::optional<std::pair<int, int>> ids = usbIds(value);
            if (!ids) {
                return std::nullopt;
            }
            manifest.products.push_back(*ids);
        } else if (name == "version") {
            if (haveVersion || !isVersion(value)) {
                return std::nullopt;
            }
            manifest.version =
                QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
            haveVersion = true;
        } else if (name == "sha256") {
            if (haveHash || !sha256From(value, manifest.sha256)) {
                return std::nullopt;
            }
            haveHash = true;
        }
    }
    if (!haveVersion || !haveHash || manifest.products.empty()) {
        return std::nullopt;
    }
    return manifest;
}

ImageCheck checkFirmwareImage(const FirmwareManifest& manifest, int vendorId, int productId,
                              const QString& offeredVersion, std::span<const std::uint8_t> image) {
    if (std::find(manifest.products.begin(), manifest.products.end(),
                  std::pair{vendorId, productId}) == manifest.products.end()) {
        return ImageCheck::OtherMouse;
    }
    if (manifest.version.compare(offeredVersion.trimmed(), Qt::CaseInsensitive) != 0) {
        return ImageCheck::OtherVersion;
    }
    std::array<std::uint8_t, 32> hash{};
    if (sodium_init() < 0) {
        return ImageCheck::OtherImage;
    }
    crypto_hash_sha256(hash.data(), image.data(), image.size());
    return hash == manifest.sha256 ? ImageCheck::Accepted : ImageCheck::OtherImage;
}

} // namespace corvane::update
