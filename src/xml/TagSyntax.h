#pragma once

#include <QStringView>

namespace corvane::xml {

// A character that ends a tag name: whitespace or one of < > = \ / ? ! " ' ;
bool endsTagName(char16_t c);

// Whitespace as XML knows it: blank, tab, CR, LF.
inline bool isMarkupSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// The first character of an element name: a letter, ':', '_' or any character
// of 128 and above.
inline bool startsElementName(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u':' || c == u'_' ||
           c >= 0x80;
}

// A name addElem and setAttrib accept: it starts an element name and holds no
// character that ends one, nor '&'.
bool isWritableName(QStringView name);

// The name of the element whose start tag begins at tag[0] ('<').
QStringView tagName(QStringView tag);

bool namesEqual(QStringView a, QStringView b, bool ignoreAsciiCase);

// One attribute of a start tag; positions are offsets into the tag.
struct TagAttribute {
    qsizetype nameStart = 0;
    qsizetype nameEnd = 0;
    qsizetype valueStart = 0; // the opening quote, or the first character when unquoted
    qsizetype valueEnd = 0;   // just past the closing quote or the value
    bool hasValue = false;
    bool quoted = false;

    QStringView name(QStringView tag) const { return tag.mid(nameStart, nameEnd - nameStart); }
    // The raw value between its quotes, still escaped.
    QStringView rawValue(QStringView tag) const;
};

// Walks the attributes of a start tag (or of a processing instruction) after
// position `from`. Stops at the first attribute for which `visit` returns true
// and returns it in `found`. `attributesEnd` receives the position just after
// the last attribute (or `from` when there is none): where a new one goes.
template <typename Visitor>
bool findAttribute(QStringView tag, qsizetype from, Visitor visit, TagAttribute* found,
                   qsizetype* attributesEnd);

namespace detail {
// One step of the attribute walk: reads the attribute at or after `pos`.
// Returns false at the end of the attributes; otherwise fills `attribute`
// (nameStart == nameEnd for a stray character) and advances `pos`.
bool nextAttribute(QStringView tag, qsizetype& pos, TagAttribute& attribute);
} // namespace detail

template <typename Visitor>
bool findAttribute(QStringView tag, qsizetype from, Visitor visit, TagAttribute* found,
                   qsizetype* attributesEnd) {
    qsizetype pos = from;
    qsizetype end = from;
    TagAttribute attribute;
    while (detail::nextAttribute(tag, pos, attribute)) {
        if (attribute.nameStart == attribute.nameEnd)
            continue;
        end = attribute.hasValue ? attribute.valueEnd : attribute.nameEnd;
        if (visit(attribute)) {
            if (found)
                *found = attribute;
            if (attributesEnd)
                *attributesEnd = end;
            return true;
        }
    }
    if (attributesEnd)
        *attributesEnd = end;
    return false;
}

} // namespace corvane::xml
