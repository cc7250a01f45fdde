#include "xml/MarkupDocument.h"

#include "xml/MarkupEscape.h"
#include "xml/MarkupFile.h"
#include "xml/MarkupParser.h"
#include "xml/TagSyntax.h"

#include <climits>

namespace corvane::xml {
namespace {

constexpr qsizetype kMaxTextLength = INT_MAX / 2;
const QString kLineBreak = QStringLiteral("\r\n");

} // namespace

MarkupDocument::MarkupDocument(const QString& text) {
    setDoc(text);
}

bool MarkupDocument::setDoc(const QString& text) {
    m_log.clear();
    m_flags &= docflag::IgnoreNameCase;
    m_encoding.clear();
    if (text.size() > kMaxTextLength) {
        m_text.clear();
        parse();
        return false;
    }
    m_text = text;
    return parse();
}

bool MarkupDocument::load(const QString& path) {
    m_log.clear();
    MarkupFileContent content;
    if (!readMarkupFile(path, content, m_log))
        return false;
    m_text = std::move(content.text);
    m_flags = (m_flags & docflag::IgnoreNameCase) | content.flags;
    m_encoding = content.encoding;
    return parse();
}

bool MarkupDocument::save(const QString& path) const {
    m_log.clear();
    return writeMarkupFile(path, m_text, m_flags, m_encoding, m_log, m_wellFormed);
}

bool MarkupDocument::parse() {
    m_wellFormed = parseMarkup(m_text, ignoreNameCase(), m_index, m_log);
    m_parent = m_current = m_child = 0;
    return m_wellFormed;
}

QStringView MarkupDocument::startTag(int element) const {
    const ElementEntry& e = m_index[element];
    return QStringView(m_text).mid(e.start, e.startTagLength);
}

bool MarkupDocument::findElem(const QString& name) {
    int candidate = m_current != 0 ? m_index[m_current].nextSibling : m_index[m_parent].firstChild;
    for (; candidate != 0; candidate = m_index[candidate].nextSibling) {
        if (name.isEmpty() || namesEqual(tagName(startTag(candidate)), name, ignoreNameCase())) {
            m_current = candidate;
            m_child = 0;
            return true;
        }
    }
    return false;
}

bool MarkupDocument::intoElem() {
    if (m_current == 0)
        return false;
    m_parent = m_current;
    m_current = m_child;
    m_child = 0;
    return true;
}

bool MarkupDocument::outOfElem() {
    if (m_parent == 0)
        return false;
    m_child = m_current;
    m_current = m_parent;
    m_parent = m_index[m_parent].parent;
    return true;
}

QString MarkupDocument::getAttrib(const QString& name) const {
    if (m_current == 0 || name.isEmpty())
        return {};
    const QStringView tag = startTag(m_current);
    TagAttribute attribute;
    const auto matches = [&](const TagAttribute& a) {
        return namesEqual(a.name(tag), name, ignoreNameCase());
    };
    if (!findAttribute(tag, 1 + tagName(tag).size(), matches, &attribute, nullptr))
        return {};
    return unescapeMarkup(attribute.rawValue(tag));
}

bool MarkupDocument::setAttrib(const QString& name, int value) {
    return setAttrib(name, QString::number(value));
}

bool MarkupDocument::setAttrib(const QString& name, const QString& value) {
    if (m_current == 0 || !isWritableName(name))
        return false;
    const QString quoted =
        QLatin1Char('"') + escapeMarkup(value, EscapeMode::AttributeValue) + QLatin1Char('"');
    const QStringView tag = startTag(m_current);
    TagAttribute attribute;
    qsizetype attributesEnd = 0;
    TagAttribute last;
    const auto matches = [&](const TagAttribute& a) {
        last = a;
        return namesEqual(a.name(tag), name, ignoreNameCase());
    };
    qsizetype pos = 0;
    qsizetype removed = 0;
    QString inserted;
    if (findAttribute(tag, 1 + tagName(tag).size(), matches, &attribute, &attributesEnd)) {
        if (attribute.hasValue) {
            pos = attribute.valueStart;
            removed = attribute.valueEnd - attribute.valueStart;
            inserted = quoted;
        } else {
            pos = attribute.nameEnd;
            inserted = QLatin1Char('=') + quoted;
        }
    } else {
        pos = attributesEnd;
        inserted = QLatin1Char(' ') + name + QLatin1Char('=') + quoted;
        // After "v=" with nothing behind it, the new attribute's name would read as v's
        // value: v first gets the empty value it reads as.
        if (last.hasValue && !last.quoted && last.valueStart == last.valueEnd) {
            pos = last.valueStart;
            inserted.prepend(QStringLiteral("\"\""));
        }
    }
    ElementEntry& e = m_index[m_current];
    if (!replaceText(e.start + pos, removed, inserted))
        return false;
    const int delta = int(inserted.size() - removed);
    e.startTagLength += delta;
    e.length += delta;
    m_index.shiftChildren(m_current, delta);
    m_index.shiftFollowing(m_current, delta);
    return true;
}

bool MarkupDocument::replaceText(qsizetype pos, qsizetype removed, QStringView inserted) {
    const qsizetype needed = m_text.size() - removed + inserted.size();
    if (needed > kMaxTextLength)
        return false;
    if (needed > m_text.capacity())
        m_text.reserve(needed + needed / 2 + 128);
    m_text.replace(pos, removed, inserted.toString());
    return true;
}

// <name .../> becomes <name ...>, a line break and </name>.
bool MarkupDocument::expandEmptyElement(int element) {
    const QString endTag =
        QStringLiteral("</") + tagName(startTag(element)).toString() + QLatin1Char('>');
    ElementEntry& e = m_index[element];
    const qsizetype slash = e.start + e.startTagLength - 2;
    // In "<a b//>" the attribute is "b/": dropping the closing slash alone would leave
    // "<a b/>", still empty. A blank keeps the attribute as it was and opens the tag.
    const QString opening = e.startTagLength > 2 && m_text[slash - 1] == QLatin1Char('/')
                                ? QStringLiteral(" >")
                                : QStringLiteral(">");
    const QString closing = opening + QStringLiteral("\r\n") + endTag;
    if (!replaceText(slash, 2, closing))
        return false;
    const int delta = int(closing.size()) - 2;
    e.startTagLength += int(opening.size()) - 2;
    e.endTagLength = int(endTag.size());
    e.length += delta;
    e.flags &= ~ElementEntry::EmptyElementTag;
    m_index.shiftFollowing(element, delta);
    return true;
}

bool MarkupDocument::addElem(const QString& name) {
    if (!isWritableName(name))
        return false;
    const QString tag = QLatin1Char('<') + name + QStringLiteral("/>");
    qsizetype pos = 0;
    QString inserted = tag + kLineBreak;
    qsizetype offsetInInserted = 0;
    if (m_current != 0) {
        // After the current element, and after the line break that ends its line.
        pos = m_index[m_current].end();
        if (QStringView(m_text).mid(pos).startsWith(kLineBreak))
            pos += 2;
        else if (pos < m_text.size() && m_text[pos] == u'\n')
            pos += 1;
    } else if (m_parent != 0) {
        if ((m_index[m_parent].flags & ElementEntry::EmptyElementTag) &&
            !expandEmptyElement(m_parent))
            return false;
        pos = m_index[m_parent].contentEnd();
    } else {
        pos = m_text.size();
        if (!m_text.isEmpty() && !m_text.endsWith(u'\n')) {
            inserted.prepend(kLineBreak);
            offsetInInserted = 2;
        }
    }
    if (!replaceText(pos, 0, inserted))
        return false;

    const int entry = m_index.append();
    ElementEntry& e = m_index[entry];
    e.start = int(pos + offsetInInserted);
    e.length = e.startTagLength = int(tag.size());
    e.flags = ElementEntry::EmptyElementTag;
    e.level = m_index[m_parent].level + 1;
    if (m_current != 0)
        m_index.insertAfter(m_current, entry);
    else
        m_index.appendChild(m_parent, entry);
    m_index.shiftFollowing(entry, int(inserted.size()));
    m_current = entry;
    m_child = 0;
    return true;
}

} // namespace corvane::xml
