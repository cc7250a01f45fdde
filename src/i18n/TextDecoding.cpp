#include "i18n/TextDecoding.h"

#include "i18n/AnsiText.h"

#include <initializer_list>

namespace corvane::i18n {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

QString decodeUtf16(QByteArrayView bytes, bool bigEndian) {
    const qsizetype count = bytes.size() / 2; // an odd last byte is no character
    QString text(count, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < count; ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        out[i] = bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    }
    // Only whole surrogate pairs survive; the rest of the text stays as it is.
    for (qsizetype i = 0; i < count; ++i) {
        if (isHighSurrogate(out[i]) && i + 1 < count && isLowSurrogate(out[i + 1]))
            ++i;
        else if (isHighSurrogate(out[i]) || isLowSurrogate(out[i]))
            out[i] = kReplacement;
    }
    return text;
}

// UTF-8 where it is valid, the legacy character set line by line where it is not.
QString decodeEightBit(QByteArrayView bytes, const QByteArray& ansiCodeset) {
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes);

    AnsiDecoder ansi(ansiCodeset);
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    while (start <= bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArrayView line = bytes.sliced(start, end - start);
        text += isValidUtf8(line) ? QString::fromUtf8(line) : ansi.decode(line);
        if (end == bytes.size())
            break;
        text += u'\n';
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return text;
}

} // namespace

bool isValidUtf8(QByteArrayView bytes) {
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80; // allowed range of the second byte
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // overlong
            else if (lead == 0xED)
                high = 0x9F; // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90; // overlong
            else if (lead == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (size - i < length)
            return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high)
            return false;
        for (int k = 2; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < 0x80 || next > 0xBF)
                return false;
        }
        i += length;
    }
    return true;
}

QString decodeIniBytes(QByteArrayView bytes, const QByteArray& ansiCodeset) {
    const auto startsWith = [&](std::initializer_list<unsigned char> mark) {
        if (bytes.size() < qsizetype(mark.size()))
            return false;
        qsizetype i = 0;
        for (unsigned char byte : mark) {
            if (static_cast<unsigned char>(bytes[i++]) != byte)
                return false;
        }
        return true;
    };
    if (startsWith({0xFF, 0xFE}))
        return decodeUtf16(bytes.sliced(2), false);
    if (startsWith({0xFE, 0xFF}))
        return decodeUtf16(bytes.sliced(2), true);
    if (startsWith({0xEF, 0xBB, 0xBF}))
        return decodeEightBit(bytes.sliced(3), ansiCodeset);
    return decodeEightBit(bytes, ansiCodeset);
}

} // namespace corvane::i18n
