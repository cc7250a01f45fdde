#include "xml/TagSyntax.h"

namespace corvane::xml {

bool endsTagName(char16_t c) {
    switch (c) {
    case u' ':
    case u'\t':
    case u'\r':
    case u'\n':
    case u'<':
    case u'>':
    case u'=':
    case u'\\':
    case u'/':
    case u'?':
    case u'!':
    case u'"':
    case u'\'':
    case u';':
        return true;
    default:
        return false;
    }
}

bool isWritableName(QStringView name) {
    if (name.isEmpty() || !startsElementName(name[0].unicode()))
        return false;
    for (QChar c : name) {
        if (endsTagName(c.unicode()) || c == u'&' || c.unicode() == 0)
            return false;
    }
    return true;
}

QStringView tagName(QStringView tag) {
    qsizetype end = 1;
    while (end < tag.size() && !endsTagName(tag[end].unicode()))
        ++end;
    return tag.mid(1, end - 1);
}

bool namesEqual(QStringView a, QStringView b, bool ignoreAsciiCase) {
    if (a.size() != b.size())
        return false;
    if (!ignoreAsciiCase)
        return a == b;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= u'A' && x <= u'Z')
            x = char16_t(x - u'A' + u'a');
        if (y >= u'A' && y <= u'Z')
            y = char16_t(y - u'A' + u'a');
        if (x != y)
            return false;
    }
    return true;
}

QStringView TagAttribute::rawValue(QStringView tag) const {
    if (!hasValue)
        return {};
    if (!quoted)
        return tag.mid(valueStart, valueEnd - valueStart);
    // An unclosed quote runs to the end of the tag.
    const qsizetype last = valueEnd - 1;
    const bool closed = last > valueStart && tag[last] == tag[valueStart];
    return tag.mid(valueStart + 1, (closed ? last : valueEnd) - valueStart - 1);
}

namespace detail {

namespace {
bool isTagClose(QStringView tag, qsizetype pos) {
    const char16_t c = tag[pos].unicode();
    if (c == u'>')
        return true;
    return (c == u'/' || c == u'?') && (pos + 1 >= tag.size() || tag[pos + 1] == u'>');
}

// The closing quote for the quote at `open`, or -1. Values are short: a plain
// loop beats the library search here.
qsizetype closingQuote(QStringView tag, qsizetype open) {
    const char16_t quote = tag[open].unicode();
    for (qsizetype i = open + 1; i < tag.size(); ++i) {
        if (tag[i].unicode() == quote)
            return i;
    }
    return -1;
}

qsizetype skipSpace(QStringView tag, qsizetype pos) {
    while (pos < tag.size() && isMarkupSpace(tag[pos].unicode()))
        ++pos;
    return pos;
}
} // namespace

bool nextAttribute(QStringView tag, qsizetype& pos, TagAttribute& attribute) {
    const qsizetype size = tag.size();
    pos = skipSpace(tag, pos);
    if (pos >= size || isTagClose(tag, pos))
        return false;
    attribute = TagAttribute{};
    attribute.nameStart = pos;
    while (pos < size) {
        const char16_t c = tag[pos].unicode();
        if (isMarkupSpace(c) || c == u'=' || c == u'>' || c == u'"' || c == u'\'' ||
            ((c == u'/' || c == u'?') && isTagClose(tag, pos)))
            break;
        ++pos;
    }
    attribute.nameEnd = pos;
    if (attribute.nameStart == attribute.nameEnd) {
        // A stray character ('=' or a quote with no name): step over it, and over
        // the quoted text a stray quote opens.
        const char16_t c = tag[pos].unicode();
        if (c == u'"' || c == u'\'') {
            const qsizetype close = closingQuote(tag, pos);
            pos = close < 0 ? size : close + 1;
        } else {
            ++pos;
        }
        return true;
    }
    qsizetype next = skipSpace(tag, pos);
    if (next >= size || tag[next] != u'=')
        return true;
    next = skipSpace(tag, next + 1);
    attribute.hasValue = true;
    attribute.valueStart = next;
    if (next < size && (tag[next] == u'"' || tag[next] == u'\'')) {
        attribute.quoted = true;
        const qsizetype close = closingQuote(tag, next);
        attribute.valueEnd = close < 0 ? size : close + 1;
    } else {
        // Quotes inside an unquoted value still pair up, as they do for the
        // scanner that found where the tag ends.
        qsizetype end = next;
        while (end < size && !isMarkupSpace(tag[end].unicode()) && !isTagClose(tag, end)) {
            const char16_t c = tag[end].unicode();
            if (c == u'"' || c == u'\'') {
                const qsizetype close = closingQuote(tag, end);
                end = close < 0 ? size : close + 1;
            } else {
                ++end;
            }
        }
        attribute.valueEnd = end;
    }
    pos = attribute.valueEnd;
    return true;
}

} // namespace detail
} // namespace corvane::xml
