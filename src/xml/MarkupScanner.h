#pragma once

#include <QStringView>

namespace corvane::xml {

enum class NodeKind {
    Text,                  // character data and whitespace between markup
    StartTag,              // <name ...>
    EmptyElementTag,       // <name .../>
    EndTag,                // </name>
    ProcessingInstruction, // <?target ...?>
    Comment,               // <!-- ... -->
    CDataSection,          // <![CDATA[ ... ]]>
    DocumentType,          // <!DOCTYPE ... [ internal subset ]>
    Malformed,             // markup that is none of the above
};

enum class NodeFault {
    None,
    Unterminated, // the node runs to the end of the text (or into the next '<')
    FirstTag,     // '<' followed by a character that starts no markup
    DocumentType, // <!D... that is no well-formed document type declaration
    Exclamation,  // <! followed by something unknown
    Comment,      // <!- without the second '-', or "--" inside a comment
    CDataSection, // <![ not followed by CDATA[
};

struct MarkupNode {
    NodeKind kind = NodeKind::Text;
    NodeFault fault = NodeFault::None;
    qsizetype start = 0;
    qsizetype end = 0;       // one past the node's last character
    qsizetype nameStart = 0; // element name of start, empty-element and end tags
    qsizetype nameEnd = 0;
};

// Cuts a text into markup nodes, left to right, in one pass. Every call to next()
// consumes at least one character, so a walk over any text ends.
class MarkupScanner {
public:
    explicit MarkupScanner(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    qsizetype position() const { return m_pos; }
    // Reads the node at the current position; false at the end of the text.
    bool next(MarkupNode& node);

private:
    void scanStartTag(MarkupNode& node);
    void scanEndTag(MarkupNode& node);
    void scanExclamation(MarkupNode& node);
    void scanDocumentType(MarkupNode& node);
    // One past the literal whose opening quote is at quote (the end of the
    // text when it is never closed).
    qsizetype pastQuoted(qsizetype quote) const;
    // The position of the ']' that ends an internal subset starting at pos;
    // the end of the text when there is none.
    qsizetype pastInternalSubset(qsizetype pos) const;
    void scanUntil(MarkupNode& node, QStringView terminator, qsizetype from);
    void skipToClose(MarkupNode& node, qsizetype from); // recovery after a fault

    QStringView m_text;
    qsizetype m_pos = 0;
};

// The record text a fault is reported with, and the node type an unterminated
// node is reported with.
const char* faultRecordName(NodeFault fault);
const char* nodeTypeName(NodeKind kind);

} // namespace corvane::xml
