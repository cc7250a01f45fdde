#include "xml/MarkupScanner.h"

#include "xml/TagSyntax.h"

namespace corvane::xml {

bool MarkupScanner::next(MarkupNode& node) {
    const qsizetype size = m_text.size();
    if (m_pos >= size)
        return false;
    node = MarkupNode{};
    node.start = m_pos;
    if (m_text[m_pos] != u'<') {
        const qsizetype lt = m_text.indexOf(u'<', m_pos);
        node.kind = NodeKind::Text;
        node.end = lt < 0 ? size : lt;
    } else if (m_pos + 1 >= size) {
        node.kind = NodeKind::Malformed;
        node.fault = NodeFault::Unterminated;
        node.end = size;
    } else {
        const char16_t c = m_text[m_pos + 1].unicode();
        if (startsElementName(c)) {
            scanStartTag(node);
        } else if (c == u'/') {
            scanEndTag(node);
        } else if (c == u'?') {
            node.kind = NodeKind::ProcessingInstruction;
            scanUntil(node, u"?>", m_pos + 2);
        } else if (c == u'!') {
            scanExclamation(node);
        } else {
            // Not markup: the '<' alone is reported and read as text.
            node.kind = NodeKind::Malformed;
            node.fault = NodeFault::FirstTag;
            node.end = m_pos + 1;
        }
    }
    m_pos = node.end;
    return true;
}

void MarkupScanner::scanStartTag(MarkupNode& node) {
    const qsizetype size = m_text.size();
    node.kind = NodeKind::StartTag;
    node.nameStart = node.start + 1;
    qsizetype pos = node.nameStart;
    while (pos < size && !endsTagName(m_text[pos].unicode()))
        ++pos;
    node.nameEnd = pos;
    // Quoted text may hold '>'; an unquoted '<' means the tag was never closed.
    const char16_t* data = reinterpret_cast<const char16_t*>(m_text.data());
    while (pos < size) {
        const char16_t c = data[pos];
        if (c == u'>') {
            if (data[pos - 1] == u'/' && pos - 1 >= node.nameEnd)
                node.kind = NodeKind::EmptyElementTag;
            node.end = pos + 1;
            return;
        }
        if (c == u'"' || c == u'\'') {
            const qsizetype close = m_text.indexOf(QChar(c), pos + 1);
            if (close < 0)
                break;
            pos = close + 1;
            continue;
        }
        if (c == u'<') {
            node.fault = NodeFault::Unterminated;
            node.end = pos;
            return;
        }
        ++pos;
    }
    node.fault = NodeFault::Unterminated;
    node.end = size;
}

void MarkupScanner::scanEndTag(MarkupNode& node) {
    const qsizetype size = m_text.size();
    node.kind = NodeKind::EndTag;
    node.nameStart = node.start + 2;
    qsizetype pos = node.nameStart;
    while (pos < size && !endsTagName(m_text[pos].unicode()))
        ++pos;
    node.nameEnd = pos;
    for (; pos < size; ++pos) {
        const char16_t c = m_text[pos].unicode();
        if (c == u'>') {
            node.end = pos + 1;
            return;
        }
        if (c == u'<')
            break;
    }
    node.fault = NodeFault::Unterminated;
    node.end = pos;
}

void MarkupScanner::scanExclamation(MarkupNode& node) {
    const QStringView rest = m_text.mid(node.start);
    if (rest.startsWith(u"<!--")) {
        node.kind = NodeKind::Comment;
        scanUntil(node, u"-->", node.start + 4);
        // "--" may only appear as the start of the closing "-->".
        if (node.fault == NodeFault::None) {
            const qsizetype dashes = m_text.indexOf(u"--", node.start + 4);
            if (dashes >= 0 && dashes < node.end - 3)
                node.fault = NodeFault::Comment;
        }
    } else if (rest.startsWith(u"<!-")) {
        node.kind = NodeKind::Comment;
        node.fault = NodeFault::Comment;
        skipToClose(node, node.start + 3);
    } else if (rest.startsWith(u"<![CDATA[")) {
        node.kind = NodeKind::CDataSection;
        scanUntil(node, u"]]>", node.start + 9);
    } else if (rest.startsWith(u"<![")) {
        node.kind = NodeKind::CDataSection;
        node.fault = NodeFault::CDataSection;
        skipToClose(node, node.start + 3);
    } else if (rest.size() > 2 && rest[2] == u'D') {
        scanDocumentType(node);
    } else {
        node.kind = NodeKind::Malformed;
        node.fault = NodeFault::Exclamation;
        skipToClose(node, node.start + 2);
    }
}

void MarkupScanner::scanDocumentType(MarkupNode& node) {
    const qsizetype size = m_text.size();
    node.kind = NodeKind::DocumentType;
    const QStringView rest = m_text.mid(node.start);
    if (!rest.startsWith(u"<!DOCTYPE") || rest.size() <= 9 || !isMarkupSpace(rest[9].unicode())) {
        node.fault = NodeFault::DocumentType;
        skipToClose(node, node.start + 2);
        return;
    }
    // The name and the external identifier, whose quoted literals may hold
    // '[' and '>'.
    qsizetype pos = node.start + 10;
    while (pos < size && m_text[pos] != u'[' && m_text[pos] != u'>') {
        const QChar c = m_text[pos];
        pos = c == u'"' || c == u'\'' ? pastQuoted(pos) : pos + 1;
    }
    if (pos < size && m_text[pos] == u'[') {
        pos = pastInternalSubset(pos + 1);
        if (pos >= size) {
            node.fault = NodeFault::Unterminated;
            node.end = size;
            return;
        }
        ++pos; // the ']'
        // Only blanks may stand between the internal subset and '>'.
        while (pos < size && isMarkupSpace(m_text[pos].unicode()))
            ++pos;
        if (pos < size && m_text[pos] != u'>') {
            node.fault = NodeFault::DocumentType;
            skipToClose(node, pos);
            return;
        }
    }
    if (pos >= size) {
        node.fault = NodeFault::Unterminated;
        node.end = size;
        return;
    }
    node.end = pos + 1;
}

qsizetype MarkupScanner::pastQuoted(qsizetype quote) const {
    const qsizetype close = m_text.indexOf(m_text[quote], quote + 1);
    return close < 0 ? m_text.size() : close + 1;
}

qsizetype MarkupScanner::pastInternalSubset(qsizetype pos) const {
    // Declarations, processing instructions, comments, parameter-entity
    // references and blanks, up to the ']' that ends the subset. A processing
    // instruction or a comment is opaque (it may hold ']', '>' or a lone
    // apostrophe); a declaration ends at the first '>' outside its quoted
    // literals.
    const qsizetype size = m_text.size();
    const auto past = [&](QStringView terminator, qsizetype from) {
        const qsizetype found = m_text.indexOf(terminator, from);
        return found < 0 ? size : found + terminator.size();
    };
    while (pos < size) {
        const QChar c = m_text[pos];
        if (c == u']')
            return pos;
        if (c != u'<') {
            ++pos;
        } else if (m_text.mid(pos).startsWith(u"<?")) {
            pos = past(u"?>", pos + 2);
        } else if (m_text.mid(pos).startsWith(u"<!--")) {
            pos = past(u"-->", pos + 4);
        } else {
            pos += 1;
            while (pos < size && m_text[pos] != u'>') {
                const QChar d = m_text[pos];
                pos = d == u'"' || d == u'\'' ? pastQuoted(pos) : pos + 1;
            }
            pos = pos < size ? pos + 1 : size;
        }
    }
    return size;
}

void MarkupScanner::scanUntil(MarkupNode& node, QStringView terminator, qsizetype from) {
    const qsizetype found = m_text.indexOf(terminator, from);
    if (found < 0) {
        node.fault = NodeFault::Unterminated;
        node.end = m_text.size();
    } else {
        node.end = found + terminator.size();
    }
}

void MarkupScanner::skipToClose(MarkupNode& node, qsizetype from) {
    const qsizetype close = m_text.indexOf(u'>', from);
    node.end = close < 0 ? m_text.size() : close + 1;
}

const char* faultRecordName(NodeFault fault) {
    switch (fault) {
    case NodeFault::None:
        return "";
    case NodeFault::Unterminated:
        return "unterminated_tag_syntax";
    case NodeFault::FirstTag:
        return "first_tag_syntax";
    case NodeFault::DocumentType:
        return "doctype_tag_syntax";
    case NodeFault::Exclamation:
        return "exclamation_tag_syntax";
    case NodeFault::Comment:
        return "comment_tag_syntax";
    case NodeFault::CDataSection:
        return "cdata_section_syntax";
    }
    return "";
}

const char* nodeTypeName(NodeKind kind) {
    switch (kind) {
    case NodeKind::StartTag:
    case NodeKind::EmptyElementTag:
        return "start_tag";
    case NodeKind::EndTag:
        return "end_tag";
    case NodeKind::ProcessingInstruction:
        return "processing_instruction";
    case NodeKind::Comment:
        return "comment";
    case NodeKind::CDataSection:
        return "cdata_section";
    case NodeKind::DocumentType:
        return "document_type";
    case NodeKind::Text:
    case NodeKind::Malformed:
        return "tag";
    }
    return "tag";
}

} // namespace corvane::xml
