// Release signatures: minisign files made by the minisign tool itself and by a key made
// here, and the firmware manifest that a signature covers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include <sodium.h>
#include <sys/stat.h>

#include "support/ReleaseSigner.h"
#include "update/FirmwareManifest.h"
#include "update/Minisign.h"

namespace corvane::update {
namespace {

using minisign::Verdict;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Made with `minisign -G` and `minisign -S` (with and without -l) over kToolMessage.
constexpr std::string_view kToolKey = "untrusted comment: minisign public key 10C0D0CB074ACB6C\n"
                                      "RWRsy0oHy9DAEBYCuLJu5eq6IcwJMwinJ8nAXfocAX2+3xO7HN6O8d9K\n";
constexpr std::string_view kToolMessage = "hello corvane\n";
constexpr std::string_view kToolHashed =
    "untrusted comment: signature from minisign secret key\n"
    "RURsy0oHy9DAEA8ra7Kem9+/1sHwQXNUynVY3uFADrK8bo7a/"
    "WF9wvmlEnhY2Cy4I3UoE8a0a6fPWhzeuvKU4Q40lJsUjJcUJg4=\n"
    "trusted comment: timestamp:1796918730\tfile:msg.txt\thashed\n"
    "X+95rF2vK7KD6+hSI9hyNVdsj2U2NousgRS7Dtnkmy8cfIsJxW+5GazE+hrabgJ4quSNWf95qYGN39Va+IO5Cw==\n";
constexpr std::string_view kToolLegacy =
    "untrusted comment: signature from minisign secret key\n"
    "RWRsy0oHy9DAEIINnFz2v+kIeQVlgX0u1W9rudxeKVmzfMcrL8eBfeT2H+"
    "cJOMvAaI4UqDlwALBNCAn7fZtdLWEtPaR6NI8+8gg=\n"
    "trusted comment: timestamp:1796918730\tfile:msg.txt\n"
    "Ofx8js6nkKVvxzxdnn4pU8SHwUtzAg/Q6/ghAZXk4w7fewOe6jU1cCzKNZR/spJF6ickp+Gaga1gKcXjiJvtAw==\n";

TEST(Minisign, SignaturesOfTheMinisignToolAreRead) {
    const std::optional<minisign::PublicKey> key = minisign::parsePublicKey(kToolKey);
    ASSERT_TRUE(key);
    EXPECT_EQ(minisign::verify(bytesOf(kToolMessage), kToolHashed, *key), Verdict::Valid);
    EXPECT_EQ(minisign::verify(bytesOf(kToolMessage), kToolLegacy, *key), Verdict::Valid);
    EXPECT_EQ(minisign::verify(bytesOf("hello corvanE\n"), kToolHashed, *key), Verdict::Invalid);
    EXPECT_EQ(minisign::verify(bytesOf("hello corvanE\n"), kToolLegacy, *key), Verdict::Invalid);

    // The trusted comment is covered by the global signature.
    std::string edited(kToolHashed);
    edited.replace(edited.find("1796918730"), 10, "1896918730");
    EXPECT_EQ(minisign::verify(bytesOf(kToolMessage), edited, *key), Verdict::Invalid);
}

TEST(Minisign, OnlyTheRightFileSignedWithTheTrustedKeyPasses) {
    const test::ReleaseSigner release;
    const test::ReleaseSigner stranger;
    const std::optional<minisign::PublicKey> key = minisign::parsePublicKey(release.publicKey());
    ASSERT_TRUE(key);
    const std::string file = "the setup archive";
    const std::string hashed = release.sign(file);

    // Another key that claims the trusted key's id: its signature must still fail.
    std::string impostor = stranger.sign(file);
    const std::optional<minisign::Signature> theirs = minisign::parseSignature(impostor);
    const std::optional<minisign::Signature> ours = minisign::parseSignature(hashed);
    ASSERT_TRUE(theirs && ours);
    EXPECT_NE(theirs->keyId, ours->keyId);

    const struct {
        const char* name;
        std::string message;
        std::string signature;
        Verdict expected;
    } cases[] = {
        {"prehashed", file, hashed, Verdict::Valid},
        {"whole file", file, release.sign(file, false), Verdict::Valid},
        {"empty file", "", release.sign(""), Verdict::Valid},
        {"a valid signature over the wrong file", "the setup archivE", hashed, Verdict::Invalid},
        {"the right file with a byte more", file + "\n", hashed, Verdict::Invalid},
        {"signed by another key", file, stranger.sign(file), Verdict::OtherKey},
        {"empty signature file", file, "", Verdict::Malformed},
        {"not a signature", file, "<html>404</html>", Verdict::Malformed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(minisign::verify(bytesOf(c.message), c.signature, *key), c.expected);
    }
}

TEST(Minisign, ATruncatedOrDamagedSignatureFileIsMalformed) {
    const test::ReleaseSigner release;
    const std::optional<minisign::PublicKey> key = minisign::parsePublicKey(release.publicKey());
    ASSERT_TRUE(key);
    const std::string file = "firmware manifest";
    const std::string whole = release.sign(file);
    ASSERT_EQ(minisign::verify(bytesOf(file), whole, *key), Verdict::Valid);
    // Cut at every length short of the last line's end: never accepted, never a crash.
    const std::size_t lastLineEnd = whole.size() - 1;
    for (std::size_t n = 0; n < lastLineEnd; ++n) {
        SCOPED_TRACE(n);
        EXPECT_NE(minisign::verify(bytesOf(file), whole.substr(0, n), *key), Verdict::Valid);
    }
    EXPECT_EQ(minisign::verify(bytesOf(file), whole.substr(0, whole.size() - 10), *key),
              Verdict::Malformed);

    std::string otherAlgorithm = whole;
    const std::size_t line = otherAlgorithm.find('\n') + 1;
    otherAlgorithm[line + 1] = 'X'; // "RU..." encodes "ED"; now not a known algorithm
    EXPECT_EQ(minisign::verify(bytesOf(file), otherAlgorithm, *key), Verdict::Malformed);
    EXPECT_EQ(minisign::verify(bytesOf(file), whole + "extra line\n", *key), Verdict::Malformed);
}

TEST(Minisign, PublicKeysAreReadAsPrinted) {
    EXPECT_TRUE(minisign::parsePublicKey(kToolKey));
    EXPECT_TRUE(
        minisign::parsePublicKey("RWRsy0oHy9DAEBYCuLJu5eq6IcwJMwinJ8nAXfocAX2+3xO7HN6O8d9K"));
    for (const char* bad : {"", "RWRsy0oHy9DAEBYCuLJu5eq6IcwJMwinJ8nAXfocAX2+3xO7HN6O8d9",
                            "RWRsy0oHy9DAEBYCuLJu5eq6IcwJMwinJ8nAXfocAX2+3xO7HN6O8d9K\nRWRsy0oH",
                            "not base64 at all!"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(minisign::parsePublicKey(bad));
    }
}

TEST(Minisign, FilesAreCheckedThroughOneDescriptor) {
    const test::ReleaseSigner release;
    const std::optional<minisign::PublicKey> key = minisign::parsePublicKey(release.publicKey());
    ASSERT_TRUE(key);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("archive.zip"));
    std::string content(200000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 31 + 7);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content.data(), static_cast<qint64>(content.size()));
    file.close();

    EXPECT_EQ(minisign::verifyFile(path, release.sign(content), *key), Verdict::Valid);
    EXPECT_EQ(minisign::verifyFile(path, release.sign(content, false), *key), Verdict::Valid);
    EXPECT_EQ(minisign::verifyFile(path, release.sign(content, false), *key, 1000),
              Verdict::Unreadable)
        << "the whole-file kind is refused above its limit";
    EXPECT_EQ(minisign::verifyFile(path, release.sign(content.substr(1)), *key), Verdict::Invalid);

    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(minisign::verifyFile(fifo, release.sign(""), *key), Verdict::Unreadable)
        << "a FIFO neither blocks nor passes";
    const QString link = dir.filePath(QStringLiteral("link.zip"));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_EQ(minisign::verifyFile(link, release.sign(content), *key), Verdict::Unreadable);
    EXPECT_EQ(minisign::verifyFile(dir.filePath(QStringLiteral("missing")), release.sign(""), *key),
              Verdict::Unreadable);
}

// --- the firmware manifest ---

std::string hexOf(std::span<const std::uint8_t> bytes) {
    std::string out(bytes.size() * 2 + 1, '\0');
    sodium_bin2hex(out.data(), out.size(), bytes.data(), bytes.size());
    out.pop_back();
    return out;
}

std::string sha256Hex(std::string_view text) {
    std::array<std::uint8_t, 32> hash{};
    crypto_hash_sha256(hash.data(), bytesOf(text).data(), text.size());
    return hexOf(hash);
}

TEST(FirmwareManifest, NamesTheMiceTheVersionAndTheImage) {
    ASSERT_GE(sodium_init(), 0);
    const std::string image = "firmware image bytes";
    const std::string text = "# Corvane M1, cable and receiver\n"
                             "usb=1209:C0A1\r\n"
                             "usb = 1209:c0a2\n"
                             "version=106\n"
                             "released=2026-12-01\n"
                             "sha256=" +
                             sha256Hex(image) + "\n";
    const std::optional<FirmwareManifest> manifest = parseFirmwareManifest(text);
    ASSERT_TRUE(manifest);
    EXPECT_EQ(manifest->products,
              (std::vector<std::pair<int, int>>{{0x1209, 0xC0A1}, {0x1209, 0xC0A2}}));

    const struct {
        const char* name;
        int vendor;
        int product;
        const char* offered;
        std::string image;
        ImageCheck expected;
    } cases[] = {
        {"the cable mouse", 0x1209, 0xC0A1, "106", image, ImageCheck::Accepted},
        {"the receiver", 0x1209, 0xC0A2, "106", image, ImageCheck::Accepted},
        {"another mouse", 0x1209, 0xC0B1, "106", image, ImageCheck::OtherMouse},
        {"another vendor", 0x1208, 0xC0A1, "106", image, ImageCheck::OtherMouse},
        {"an older version than offered", 0x1209, 0xC0A1, "107", image, ImageCheck::OtherVersion},
        {"a newer version than offered", 0x1209, 0xC0A1, "105", image, ImageCheck::OtherVersion},
        {"another image", 0x1209, 0xC0A1, "106", image + "!", ImageCheck::OtherImage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkFirmwareImage(*manifest, c.vendor, c.product, QString::fromLatin1(c.offered),
                                     bytesOf(c.image)),
                  c.expected);
    }
}

TEST(FirmwareManifest, MalformedManifestsAreRefused) {
    const std::string hash = "sha256=" + std::string(64, 'a') + "\n";
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"no usb line", "version=106\n" + hash},
        {"no version", "usb=1209:c0a1\n" + hash},
        {"no hash", "usb=1209:c0a1\nversion=106\n"},
        {"two versions", "usb=1209:c0a1\nversion=106\nversion=107\n" + hash},
        {"two hashes", "usb=1209:c0a1\nversion=106\n" + hash + hash},
        {"short hash", "usb=1209:c0a1\nversion=106\nsha256=abcd\n"},
        {"hash not hex", "usb=1209:c0a1\nversion=106\nsha256=" + std::string(64, 'g') + "\n"},
        {"version not hex", "usb=1209:c0a1\nversion=1.06\n" + hash},
        {"usb without product", "usb=1209\nversion=106\n" + hash},
        {"usb id too long", "usb=11209:c0a1\nversion=106\n" + hash},
        {"line without value", "usb=1209:c0a1\nversion=106\n" + hash + "garbage\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(parseFirmwareManifest(c.text));
    }
}

} // namespace
} // namespace corvane::update
