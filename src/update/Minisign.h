#pragma once
// Release signatures in the minisign format (Ed25519): reading public keys and
// signature files, and checking a file or a text against them with libsodium.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <QString>

namespace corvane::update::minisign {

struct PublicKey {
    std::array<std::uint8_t, 8> keyId{};
    std::array<std::uint8_t, 32> key{};
};

struct Signature {
    // "ED": the signature covers the BLAKE2b-512 hash of the file; "Ed": the file itself.
    bool prehashed = true;
    std::array<std::uint8_t, 8> keyId{};
    std::array<std::uint8_t, 64> signature{};
    std::string trustedComment;
    // Covers the signature and the trusted comment together.
    std::array<std::uint8_t, 64> globalSignature{};
};

// A public key as printed by `minisign -G` (the base64 line alone, or the whole .pub
// file with its comment line). Nothing when it is not one.
std::optional<PublicKey> parsePublicKey(std::string_view text);

// A .minisig file: the untrusted comment line, the signature line, the trusted comment
// line and the global signature line. Nothing when any of them is missing or malformed.
std::optional<Signature> parseSignature(std::string_view text);

enum class Verdict {
    Valid,
    Malformed,  // the signature text is not a signature
    OtherKey,   // made with another key than the one trusted
    Invalid,    // the file or the trusted comment is not what was signed
    Unreadable, // the file cannot be read, is not a regular file or is too large
};

Verdict verify(std::span<const std::uint8_t> message, std::string_view signatureText,
               const PublicKey& key);

// Checks the regular file at `path`, read once through one descriptor. A prehashed
// signature is checked while the file streams through the hash; the older whole-file
// kind needs the file in memory and is refused above `maxWholeFileBytes`.
Verdict verifyFile(const QString& path, std::string_view signatureText, const PublicKey& key,
                   std::uint64_t maxWholeFileBytes = std::uint64_t{64} << 20);

} // namespace corvane::update::minisign
