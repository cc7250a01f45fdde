// Parses any text, walks it with the cursor and edits it. For a text that was
// well-formed, the edited text must still parse, and a fresh parse of it must
// read exactly what the edited document reads through its shifted index.

#include "xml/MarkupDocument.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstring>

using corvane::xml::MarkupDocument;

namespace {

const char* const kNames[] = {"a", "b", "r", "item", "d", "x"};
const char* const kAttributes[] = {"v", "x", "name", "a", "b", "id"};
const char* const kValues[] = {"", "1", "<&>'\"", "a b", "\xE4\xB8\xAD", "&amp;"};

template <size_t N> const char* pick(const char* const (&list)[N], uint8_t byte) {
    return list[(byte >> 3) % N];
}

QString attributesOf(const MarkupDocument& doc) {
    QString line = QStringLiteral("(");
    for (const char* name : kAttributes)
        line += doc.getAttrib(QString::fromLatin1(name)) + QLatin1Char('|');
    return line;
}

// The attributes of the root and of the elements inside it in document order,
// with the tree shape. Called on a document with a single top-level element:
// stepping out to the top and one findElem() lands on it wherever the cursor
// was. Stepping into the root may resume after the child the last outOfElem()
// left, so a walk can miss a first part of the elements inside the root.
QStringList walk(MarkupDocument& doc) {
    while (doc.outOfElem()) {
    }
    doc.findElem();
    QStringList seen{attributesOf(doc)};
    if (!doc.intoElem())
        return seen;
    for (int steps = 0; steps < 100000; ++steps) {
        if (doc.findElem()) {
            seen << attributesOf(doc);
            doc.intoElem();
        } else {
            if (!doc.outOfElem())
                break;
            seen << QStringLiteral(")");
        }
    }
    return seen;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const uint8_t mode = data[0];
    const uint8_t* body = data + 1;
    const size_t bodySize = size - 1;
    QString text;
    if (mode & 1) {
        text.resize(qsizetype(bodySize / 2));
        std::memcpy(text.data(), body, (bodySize / 2) * 2);
    } else {
        text = QString::fromUtf8(reinterpret_cast<const char*>(body), qsizetype(bodySize));
    }

    MarkupDocument doc;
    if (mode & 2)
        doc.setDocumentFlags(corvane::xml::docflag::IgnoreNameCase);
    const bool wellFormed = doc.setDoc(text);
    bool addedAtTop = false;

    // The last bytes double as a script of cursor moves and edits.
    const size_t scriptSize = bodySize < 48 ? bodySize : 48;
    for (const uint8_t* op = body + bodySize - scriptSize; op < body + bodySize; ++op) {
        switch (*op % 8) {
        case 0:
            doc.findElem();
            break;
        case 1:
            doc.findElem(QString::fromLatin1(pick(kNames, *op)));
            break;
        case 2:
            doc.intoElem();
            break;
        case 3:
            doc.outOfElem();
            break;
        case 4:
            doc.getAttrib(QString::fromLatin1(pick(kAttributes, *op)));
            break;
        case 5: {
            const QString name = QString::fromLatin1(pick(kAttributes, *op));
            const QString value = QString::fromUtf8(pick(kValues, uint8_t(*op * 7)));
            if (doc.setAttrib(name, value) && wellFormed && doc.getAttrib(name) != value)
                __builtin_trap(); // what was written must read back
            break;
        }
        case 6:
            doc.setAttrib(QString::fromLatin1(pick(kAttributes, *op)), int(*op) - 128);
            break;
        case 7: {
            // Stepping out and back in tells whether the cursor is at the top
            // level, and leaves it as it was.
            const bool top = !doc.outOfElem();
            if (!top)
                doc.intoElem();
            if (doc.addElem(QString::fromLatin1(pick(kNames, *op))) && top)
                addedAtTop = true;
            break;
        }
        }
    }

    if (wellFormed && !addedAtTop) {
        MarkupDocument fresh;
        fresh.setDocumentFlags(doc.documentFlags());
        if (!fresh.setDoc(doc.text()))
            __builtin_trap(); // edits broke a well-formed document
        const QStringList expected = walk(fresh);
        const QStringList seen = walk(doc);
        if (seen.size() > expected.size() || seen.front() != expected.front() ||
            !std::equal(seen.begin() + 1, seen.end(), expected.end() - (seen.size() - 1)))
            __builtin_trap(); // the shifted index disagrees with a fresh parse
    }
    return 0;
}
