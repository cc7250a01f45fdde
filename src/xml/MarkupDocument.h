#pragma once

#include "xml/DiagnosticLog.h"
#include "xml/DocumentFlags.h"
#include "xml/ElementIndex.h"

#include <QString>

namespace corvane::xml {

// The XML reader and writer used for every XML file: the whole document as one
// UTF-16 text, an index of where each element lies in it, and a cursor that
// walks the element tree forward.
//
// Reading: load() (or setDoc()), findElem() of the root, intoElem(), then
// findElem() of each wanted child in document order with getAttrib(); findElem()
// only searches forward from the current element. Writing: setDoc() with the
// declaration line, addElem() of the root, intoElem(), addElem() and setAttrib()
// for each child, save(). Failures give false and leave the cursor as it was;
// result() tells what happened in the last setDoc(), load() or save().
class MarkupDocument {
public:
    explicit MarkupDocument(const QString& text = {});
    MarkupDocument(const MarkupDocument&) = delete;
    MarkupDocument& operator=(const MarkupDocument&) = delete;
    MarkupDocument(MarkupDocument&&) = default;
    MarkupDocument& operator=(MarkupDocument&&) = default;

    // Replaces the text and parses it; the cursor goes back to the top level.
    // True when the text is well-formed. Clears the file marks and encoding.
    bool setDoc(const QString& text);
    // Reads and parses a file; true only when it was read and is well-formed.
    // When the file cannot be read the document is left as it was.
    bool load(const QString& path);
    // Writes the text in the document's encoding and marks; true when written.
    bool save(const QString& path) const;

    // Makes the next sibling named `name` (any element when empty) current.
    bool findElem(const QString& name = {});
    // Steps into the current element: it becomes the parent.
    bool intoElem();
    // Steps out to the parent, which becomes current again.
    bool outOfElem();

    // The unescaped value of an attribute of the current element; empty when
    // there is no current element or no such attribute.
    QString getAttrib(const QString& name) const;
    bool setAttrib(const QString& name, const QString& value);
    bool setAttrib(const QString& name, int value);
    // Adds an empty element <name/> on a line of its own after the current
    // element, or as the last child of the parent; it becomes current.
    bool addElem(const QString& name);

    const QString& text() const { return m_text; }
    const QString& result() const { return m_log.text(); }
    bool isWellFormed() const { return m_wellFormed; }
    // docflag bits: the byte-order mark found by load() and written by save(),
    // and whether names compare without regard to ASCII case.
    int documentFlags() const { return m_flags; }
    void setDocumentFlags(int flags) { m_flags = flags; }
    // The file encoding found by load() and used by save(); when empty, save()
    // takes the one the document declares, else UTF-8.
    const QString& encoding() const { return m_encoding; }
    void setEncoding(const QString& encoding) { m_encoding = encoding; }

private:
    bool parse();
    bool ignoreNameCase() const { return m_flags & docflag::IgnoreNameCase; }
    QStringView startTag(int element) const;
    // Replaces `removed` units at `pos` with `inserted`; false when the text
    // would outgrow the 32-bit offsets of the index.
    bool replaceText(qsizetype pos, qsizetype removed, QStringView inserted);
    bool expandEmptyElement(int element);

    QString m_text;
    mutable DiagnosticLog m_log;
    int m_flags = 0;
    QString m_encoding;
    ElementIndex m_index;
    bool m_wellFormed = false;
    // The cursor: entry numbers, 0 for none (the parent 0 is the top level).
    int m_parent = 0;
    int m_current = 0;
    int m_child = 0;
};

} // namespace corvane::xml
