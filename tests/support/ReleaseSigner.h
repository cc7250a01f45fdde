#pragma once
// A signing key made at test time with libsodium, writing public keys and signature files
// in the minisign format: what a release manager's `minisign -G` and `minisign -S` make.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::test {

class ReleaseSigner {
public:
    ReleaseSigner();

    // The base64 line of the public key (as in the .pub file's second line).
    std::string publicKey() const;
    // A .minisig file for `message`; prehashed ("ED", minisign's default) or the older
    // whole-file kind ("Ed").
    std::string sign(std::string_view message, bool prehashed = true,
                     std::string_view trustedComment = "timestamp:1700000000") const;

private:
    std::array<std::uint8_t, 8> keyId_{};
    std::array<std::uint8_t, 32> publicKey_{};
    std::array<std::uint8_t, 64> secretKey_{};
};

} // namespace corvane::test
