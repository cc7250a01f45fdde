// Reads arbitrary bytes as a minisign public key, a signature file and a firmware
// manifest, and checks the bytes against themselves as a signature under a fixed key.
// Nothing may crash, and nothing may verify: the fuzzer cannot know the key's secret.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "update/FirmwareManifest.h"
#include "update/Minisign.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane::update;
    static const std::optional<minisign::PublicKey> key =
        minisign::parsePublicKey("RWRsy0oHy9DAEBYCuLJu5eq6IcwJMwinJ8nAXfocAX2+3xO7HN6O8d9K");
    if (!key) {
        std::abort();
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)minisign::parsePublicKey(text);
    (void)parseFirmwareManifest(text);
    if (minisign::verify(std::span(data, size), text, *key) == minisign::Verdict::Valid) {
        std::abort();
    }
    return 0;
}
