#include "catalog/TextNumbers.h"

#include <climits>
#include <cstdint>

namespace corvane::catalog {
namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

qsizetype skipBlanks(QStringView text, qsizetype i) {
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i;
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Reads hexadecimal digits from the start of text, at most maxDigits of them.
int hexPrefix(QStringView text, qsizetype maxDigits) {
    std::int64_t value = 0;
    for (qsizetype i = 0; i < text.size() && i < maxDigits; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0)
            break;
        value = value * 16 + digit;
        if (value > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(value);
}

} // namespace

int leadingInt(QStringView text) {
    qsizetype i = skipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1)
            break;
    }
    if (negative)
        return value > static_cast<std::int64_t>(INT_MAX) + 1 ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int leadingHex(QStringView text) {
    qsizetype i = skipBlanks(text, 0);
    if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X'))
        i += 2;
    return hexPrefix(text.mid(i), text.size());
}

bool flagOf(QStringView text) {
    return leadingInt(text) == 1;
}

int parseColour(QStringView text) {
    if (text.isEmpty())
        return 0;
    const QStringView digits = text.mid(1);
    const auto component = [&](qsizetype at) {
        return at < digits.size() ? hexPrefix(digits.mid(at), 2) : 0;
    };
    const int red = component(0);
    const int green = component(2);
    const int blue = component(4);
    return blue * 65536 + green * 256 + red;
}

CalloutLine parseCallout(QStringView text) {
    // Split at the first '#' into x1 and the rest, the rest at its first '#' into x2
    // and y; a part that is not there reads as 0.
    const auto split = [](QStringView whole, QStringView& rest) {
        const qsizetype hash = whole.indexOf(u'#');
        if (hash < 0) {
            rest = {};
            return whole;
        }
        rest = whole.mid(hash + 1);
        return whole.left(hash);
    };
    QStringView afterX1;
    QStringView afterX2;
    CalloutLine line;
    line.x1 = leadingInt(split(text, afterX1));
    line.x2 = leadingInt(split(afterX1, afterX2));
    line.y = leadingInt(afterX2);
    return line;
}

} // namespace corvane::catalog
