#include "i18n/AnsiText.h"

#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <string>
#include <utility>

namespace corvane::i18n {

namespace {

// Windows-1252 for 0x80..0x9F; every other byte is the Latin-1 code point of the same value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// "UTF-8", "utf8", "ANSI_X3.4-1968" ... reduced to upper-case letters and digits.
QByteArray normalisedCodesetName(const QByteArray& name) {
    QByteArray out;
    for (char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            out.append(c);
        else if (c >= 'a' && c <= 'z')
            out.append(char(c - 'a' + 'A'));
    }
    return out;
}

} // namespace

QByteArray ansiCodeset() {
    const char* name = nl_langinfo(CODESET);
    if (name == nullptr)
        return {};
    const QByteArray codeset(name);
    static const QByteArray notLegacy[] = {"UTF8", "ANSIX341968", "ASCII", "USASCII", "646"};
    const QByteArray normalised = normalisedCodesetName(codeset);
    for (const QByteArray& plain : notLegacy) {
        if (normalised == plain)
            return {};
    }
    return codeset;
}

QString decodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

AnsiDecoder::AnsiDecoder(QByteArray codeset) : codeset_(std::move(codeset)) {}

AnsiDecoder::~AnsiDecoder() {
    if (converter_ != nullptr)
        iconv_close(static_cast<iconv_t>(converter_));
}

bool AnsiDecoder::open() {
    if (converter_ != nullptr)
        return true;
    if (openFailed_ || codeset_.isEmpty())
        return false;
    const iconv_t cd = iconv_open("UTF-8", codeset_.constData());
    if (cd == kNoConverter) {
        openFailed_ = true;
        return false;
    }
    converter_ = cd;
    return true;
}

QString AnsiDecoder::decode(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return {};
    if (!open())
        return decodeWindows1252(bytes);

    const auto cd = static_cast<iconv_t>(converter_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // each piece starts in the initial state

    std::string out(std::size_t(bytes.size()) * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = std::size_t(bytes.size());
    std::size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (result != std::size_t(-1))
            break;
        if (errno != E2BIG)
            return decodeWindows1252(bytes); // not valid in this character set
        out.resize(out.size() * 2);
    }
    // Flush a stateful encoding's pending shift sequence.
    for (;;) {
        char* outPtr = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (result != std::size_t(-1))
            break;
        if (errno != E2BIG)
            return decodeWindows1252(bytes);
        out.resize(out.size() * 2);
    }
    return QString::fromUtf8(out.data(), qsizetype(written));
}

QString decodeAnsi(QByteArrayView bytes, const QByteArray& codeset) {
    AnsiDecoder decoder(codeset);
    return decoder.decode(bytes);
}

} // namespace corvane::i18n
