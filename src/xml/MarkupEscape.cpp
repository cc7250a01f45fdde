#include "xml/MarkupEscape.h"

#include "xml/EntityTable.h"

namespace corvane::xml {
namespace {

// A reference name is at most nine ASCII characters followed by ';'.
constexpr qsizetype kMaxReferenceName = 9;

bool parseNumber(QStringView digits, int base, char32_t& value) {
    if (digits.isEmpty())
        return false;
    char32_t result = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= '0' && u <= '9')
            digit = u - '0';
        else if (base == 16 && u >= 'a' && u <= 'f')
            digit = u - 'a' + 10;
        else if (base == 16 && u >= 'A' && u <= 'F')
            digit = u - 'A' + 10;
        if (digit < 0)
            return false;
        result = result * char32_t(base) + char32_t(digit);
        if (result > 0x10FFFF)
            return false;
    }
    value = result;
    return true;
}

// The code point a reference name stands for, or 0 when it stands for none.
char32_t resolveReference(QStringView name) {
    if (name.startsWith(u'#')) {
        char32_t value = 0;
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        if (!parseNumber(hex ? name.mid(2) : name.mid(1), hex ? 16 : 10, value))
            return 0;
        if (value >= 0xD800 && value <= 0xDFFF) // a lone surrogate is no character
            return 0;
        return value;
    }
    return lookupEntity(name);
}

} // namespace

QString escapeMarkup(QStringView value, EscapeMode mode) {
    const bool attribute = mode == EscapeMode::AttributeValue;
    QString out;
    out.reserve(value.size() + value.size() / 8);
    for (QChar c : value) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'\'':
            out += attribute ? QLatin1String("&apos;") : QLatin1String("'");
            break;
        case u'"':
            out += attribute ? QLatin1String("&quot;") : QLatin1String("\"");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescapeMarkup(QStringView value) {
    qsizetype amp = value.indexOf(u'&');
    if (amp < 0)
        return value.toString();
    QString out;
    out.reserve(value.size());
    qsizetype copied = 0;
    while (amp >= 0) {
        out += value.mid(copied, amp - copied);
        copied = amp;
        qsizetype end = -1;
        for (qsizetype i = amp + 1; i < value.size() && i <= amp + kMaxReferenceName + 1; ++i) {
            const char16_t u = value[i].unicode();
            if (u == u';') {
                end = i;
                break;
            }
            if (u >= 0x80)
                break;
        }
        const char32_t codePoint =
            end < 0 ? 0 : resolveReference(value.mid(amp + 1, end - amp - 1));
        if (codePoint != 0) {
            // Appended unit by unit: a converter from UTF-32 would take a
            // U+FEFF at its start for a byte-order mark and drop it.
            if (QChar::requiresSurrogates(codePoint)) {
                out += QChar(QChar::highSurrogate(codePoint));
                out += QChar(QChar::lowSurrogate(codePoint));
            } else {
                out += QChar(char16_t(codePoint));
            }
            copied = end + 1;
        } else {
            out += u'&';
            copied = amp + 1;
        }
        amp = value.indexOf(u'&', copied);
    }
    out += value.mid(copied);
    return out;
}

} // namespace corvane::xml
