#include "update/Minisign.h"

#include <algorithm>
#include <vector>

#include <QFile>

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane::update::minisign {

namespace {

constexpr std::string_view kUntrustedPrefix = "untrusted comment: ";
constexpr std::string_view kTrustedPrefix = "trusted comment: ";
constexpr std::size_t kMaxLine = 8192;

bool sodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The text's lines without their line ends ("\n" or "\r\n").
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

// Decodes standard base64 (with padding) that must give exactly `size` bytes.
template <std::size_t N> bool decodeExact(std::string_view line, std::array<std::uint8_t, N>& out) {
    if (line.empty() || line.size() > kMaxLine) {
        return false;
    }
    std::size_t got = 0;
    const char* end = nullptr;
    std::array<std::uint8_t, N + 1> buffer{};
    if (sodium_base642bin(buffer.data(), buffer.size(), line.data(), line.size(), nullptr, &got,
                          &end, sodium_base64_VARIANT_ORIGINAL) != 0 ||
        end != line.data() + line.size() || got != N) {
        return false;
    }
    std::copy_n(buffer.begin(), N, out.begin());
    return true;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Checks everything but the file: the key id and the trusted comment.
Verdict checkFrame(const Signature& signature, const PublicKey& key) {
    if (signature.keyId != key.keyId) {
        return Verdict::OtherKey;
    }
    std::vector<std::uint8_t> covered(signature.signature.begin(), signature.signature.end());
    covered.insert(covered.end(), signature.trustedComment.begin(), signature.trustedComment.end());
    if (crypto_sign_verify_detached(signature.globalSignature.data(), covered.data(),
                                    covered.size(), key.key.data()) != 0) {
        return Verdict::Invalid;
    }
    return Verdict::Valid;
}

Verdict checkMessage(const Signature& signature, const PublicKey& key, const std::uint8_t* data,
                     std::size_t size) {
    return crypto_sign_verify_detached(signature.signature.data(), data, size, key.key.data()) == 0
               ? Verdict::Valid
               : Verdict::Invalid;
}

struct FileDescriptor {
    int fd = -1;
    ~FileDescriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

} // namespace

std::optional<PublicKey> parsePublicKey(std::string_view text) {
    if (!sodiumReady()) {
        return std::nullopt;
    }
    std::string_view keyLine;
    for (const std::string_view line : linesOf(text)) {
        if (!line.empty() && !startsWith(line, kUntrustedPrefix)) {
            if (!keyLine.empty()) {
                return std::nullopt; // two keys in one text
            }
            keyLine = line;
        }
    }
    std::array<std::uint8_t, 42> raw{};
    if (!decodeExact(keyLine, raw) || raw[0] != 'E' || raw[1] != 'd') {
        return std::nullopt;
    }
    PublicKey key;
    std::copy_n(raw.begin() + 2, 8, key.keyId.begin());
    std::copy_n(raw.begin() + 10, 32, key.key.begin());
    return key;
}

std::optional<Signature> parseSignature(std::string_view text) {
    if (!sodiumReady()) {
        return std::nullopt;
    }
    std::vector<std::string_view> lines = linesOf(text);
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    if (lines.size() != 4 || !startsWith(lines[0], kUntrustedPrefix) ||
        !startsWith(lines[2], kTrustedPrefix) || lines[2].size() > kMaxLine) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 74> raw{};
    Signature signature;
    if (!decodeExact(lines[1], raw) || !decodeExact(lines[3], signature.globalSignature)) {
        return std::nullopt;
    }
    if (raw[0] == 'E' && raw[1] == 'D') {
        signature.prehashed = true;
    } else if (raw[0] == 'E' && raw[1] == 'd') {
        signature.prehashed = false;
    } else {
        return std::nullopt;
    }
    std::copy_n(raw.begin() + 2, 8, signature.keyId.begin());
    std::copy_n(raw.begin() + 10, 64, signature.signature.begin());
    signature.trustedComment = std::string(lines[2].substr(kTrustedPrefix.size()));
    return signature;
}

Verdict verify(std::span<const std::uint8_t> message, std::string_view signatureText,
               const PublicKey& key) {
    const std::optional<Signature> signature = parseSignature(signatureText);
    if (!signature) {
        return Verdict::Malformed;
    }
    if (const Verdict frame = checkFrame(*signature, key); frame != Verdict::Valid) {
        return frame;
    }
    if (!signature->prehashed) {
        return checkMessage(*signature, key, message.data(), message.size());
    }
    std::array<std::uint8_t, crypto_generichash_BYTES_MAX> hash{};
    crypto_generichash(hash.data(), hash.size(), message.data(), message.size(), nullptr, 0);
    return checkMessage(*signature, key, hash.data(), hash.size());
}

Verdict verifyFile(const QString& path, std::string_view signatureText, const PublicKey& key,
                   std::uint64_t maxWholeFileBytes) {
    const std::optional<Signature> signature = parseSignature(signatureText);
    if (!signature) {
        return Verdict::Malformed;
    }
    if (const Verdict frame = checkFrame(*signature, key); frame != Verdict::Valid) {
        return frame;
    }
    FileDescriptor file{::open(QFile::encodeName(path).constData(),
                               O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK)};
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return Verdict::Unreadable;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (!signature->prehashed && size > maxWholeFileBytes) {
        return Verdict::Unreadable;
    }

    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, crypto_generichash_BYTES_MAX);
    std::vector<std::uint8_t> whole;
    std::array<std::uint8_t, 65536> block{};
    for (;;) {
        const ssize_t got = ::read(file.fd, block.data(), block.size());
        if (got < 0) {
            return Verdict::Unreadable;
        }
        if (got == 0) {
            break;
        }
        const auto count = static_cast<std::size_t>(got);
        if (signature->prehashed) {
            crypto_generichash_update(&state, block.data(), count);
        } else {
            if (whole.size() + count > maxWholeFileBytes) {
                return Verdict::Unreadable;
            }
            whole.insert(whole.end(), block.begin(), block.begin() + got);
        }
    }
    if (!signature->prehashed) {
        return checkMessage(*signature, key, whole.data(), whole.size());
    }
    std::array<std::uint8_t, crypto_generichash_BYTES_MAX> hash{};
    crypto_generichash_final(&state, hash.data(), hash.size());
    return checkMessage(*signature, key, hash.data(), hash.size());
}

} // namespace corvane::update::minisign
