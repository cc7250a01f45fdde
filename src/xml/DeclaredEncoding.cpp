#include "xml/DeclaredEncoding.h"

#include "xml/MarkupEscape.h"
#include "xml/MarkupScanner.h"
#include "xml/TagSyntax.h"

namespace corvane::xml {
namespace {

QString attributeValue(QStringView tag, qsizetype from, QStringView name) {
    TagAttribute attribute;
    const auto matches = [&](const TagAttribute& a) { return namesEqual(a.name(tag), name, true); };
    if (!findAttribute(tag, from, matches, &attribute, nullptr))
        return {};
    return unescapeMarkup(attribute.rawValue(tag));
}

// "text/html; charset=gb2312" gives "gb2312".
QString charsetOf(QStringView content) {
    const qsizetype at = content.indexOf(u"charset", 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    qsizetype pos = at + 7;
    while (pos < content.size() && isMarkupSpace(content[pos].unicode()))
        ++pos;
    if (pos >= content.size() || content[pos] != u'=')
        return {};
    ++pos;
    while (pos < content.size() && isMarkupSpace(content[pos].unicode()))
        ++pos;
    qsizetype end = pos;
    while (end < content.size() && content[end] != u';' && content[end] != u'"' &&
           content[end] != u'\'' && !isMarkupSpace(content[end].unicode()))
        ++end;
    return content.mid(pos, end - pos).toString();
}

bool isNamed(QStringView text, const MarkupNode& node, QStringView name) {
    return namesEqual(text.mid(node.nameStart, node.nameEnd - node.nameStart), name, true);
}

} // namespace

QString declaredEncoding(QStringView text) {
    MarkupScanner scanner(text);
    MarkupNode node;
    if (text.startsWith(u"<?xml") && text.size() > 5 &&
        (isMarkupSpace(text[5].unicode()) || text[5] == u'?')) {
        scanner.next(node);
        return attributeValue(text.mid(0, node.end), 5, u"encoding");
    }
    bool inHtml = false;
    while (scanner.next(node)) {
        switch (node.kind) {
        case NodeKind::StartTag:
        case NodeKind::EmptyElementTag: {
            if (!inHtml) {
                if (!isNamed(text, node, u"html"))
                    return {};
                inHtml = true;
            } else if (isNamed(text, node, u"meta")) {
                const QStringView tag = text.mid(node.start, node.end - node.start);
                const qsizetype attributesFrom = node.nameEnd - node.start;
                if (attributeValue(tag, attributesFrom, u"http-equiv")
                        .compare(u"Content-Type", Qt::CaseInsensitive) == 0)
                    return charsetOf(attributeValue(tag, attributesFrom, u"content"));
            } else if (isNamed(text, node, u"body")) {
                return {};
            }
            break;
        }
        case NodeKind::EndTag:
            if (inHtml && (isNamed(text, node, u"head") || isNamed(text, node, u"html")))
                return {};
            break;
        default:
            break;
        }
    }
    return {};
}

} // namespace corvane::xml
