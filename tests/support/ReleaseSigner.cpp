#include "support/ReleaseSigner.h"

#include <stdexcept>
#include <vector>

#include <sodium.h>

namespace corvane::test {

namespace {

std::string base64(const std::vector<std::uint8_t>& bytes) {
    std::string text(sodium_base64_encoded_len(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(), bytes.data(), bytes.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    text.resize(text.size() - 1); // the terminating zero
    return text;
}

std::vector<std::uint8_t> detached(const std::uint8_t* data, std::size_t size,
                                   const std::array<std::uint8_t, 64>& secretKey) {
    std::vector<std::uint8_t> signature(crypto_sign_BYTES);
    crypto_sign_detached(signature.data(), nullptr, data, size, secretKey.data());
    return signature;
}

} // namespace

ReleaseSigner::ReleaseSigner() {
    if (sodium_init() < 0) {
        throw std::runtime_error("libsodium cannot start");
    }
    crypto_sign_keypair(publicKey_.data(), secretKey_.data());
    randombytes_buf(keyId_.data(), keyId_.size());
}

std::string ReleaseSigner::publicKey() const {
    std::vector<std::uint8_t> raw{'E', 'd'};
    raw.insert(raw.end(), keyId_.begin(), keyId_.end());
    raw.insert(raw.end(), publicKey_.begin(), publicKey_.end());
    return base64(raw);
}

std::string ReleaseSigner::sign(std::string_view message, bool prehashed,
                                std::string_view trustedComment) const {
    const auto* data = reinterpret_cast<const std::uint8_t*>(message.data());
    std::vector<std::uint8_t> signature;
    if (prehashed) {
        std::array<std::uint8_t, crypto_generichash_BYTES_MAX> hash{};
        crypto_generichash(hash.data(), hash.size(), data, message.size(), nullptr, 0);
        signature = detached(hash.data(), hash.size(), secretKey_);
    } else {
        signature = detached(data, message.size(), secretKey_);
    }
    std::vector<std::uint8_t> line{'E', static_cast<std::uint8_t>(prehashed ? 'D' : 'd')};
    line.insert(line.end(), keyId_.begin(), keyId_.end());
    line.insert(line.end(), signature.begin(), signature.end());

    std::vector<std::uint8_t> global(signature);
    global.insert(global.end(), trustedComment.begin(), trustedComment.end());
    return "untrusted comment: signature from a test key\n" + base64(line) +
           "\ntrusted comment: " + std::string(trustedComment) + "\n" +
           base64(detached(global.data(), global.size(), secretKey_)) + "\n";
}

} // namespace corvane::test
