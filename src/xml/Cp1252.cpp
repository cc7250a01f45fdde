#include "xml/Cp1252.h"

#include <algorithm>
#include <array>

namespace corvane::xml {
namespace {

// Bytes 80 to 9F; A0 to FF are the Latin-1 characters of the same numbers.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool isCp1252(QByteArrayView charset) {
    return charset.compare("CP1252", Qt::CaseInsensitive) == 0 ||
           charset.compare("WINDOWS-1252", Qt::CaseInsensitive) == 0;
}

QString decodeCp1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* units = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        units[i] = byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t(byte);
    }
    return text;
}

QByteArray encodeCp1252(QStringView text, bool& lossy) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            bytes += char(unit);
            continue;
        }
        const auto* found = std::find(kHighControls.begin(), kHighControls.end(), unit);
        if (found != kHighControls.end()) {
            bytes += char(0x80 + (found - kHighControls.begin()));
            continue;
        }
        bytes += '?';
        lossy = true;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return bytes;
}

} // namespace corvane::xml
