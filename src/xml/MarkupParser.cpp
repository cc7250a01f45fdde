#include "xml/MarkupParser.h"

#include "xml/MarkupScanner.h"
#include "xml/TagSyntax.h"

#include <unordered_map>
#include <vector>

namespace corvane::xml {
namespace {

struct OpenElement {
    int entry;
    qsizetype nameStart;
    qsizetype nameEnd;
    std::uint64_t nameHash;
};

std::uint64_t hashName(QStringView name, bool ignoreCase) {
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (QChar c : name) {
        char16_t u = c.unicode();
        if (ignoreCase && u >= u'A' && u <= u'Z')
            u = char16_t(u - u'A' + u'a');
        hash = (hash ^ u) * 1099511628211ull;
    }
    return hash;
}

class Parser {
public:
    Parser(QStringView text, bool ignoreCase, ElementIndex& index, DiagnosticLog& log)
        : m_text(text), m_ignoreCase(ignoreCase), m_index(index), m_log(log) {}

    bool run() {
        m_index.reset(int(m_text.size()));
        MarkupScanner scanner(m_text);
        MarkupNode node;
        while (scanner.next(node)) {
            if (node.fault != NodeFault::None)
                reportFault(node);
            switch (node.kind) {
            case NodeKind::StartTag:
            case NodeKind::EmptyElementTag:
                openElement(node);
                break;
            case NodeKind::EndTag:
                if (node.fault == NodeFault::None)
                    closeElement(node);
                break;
            default:
                break;
            }
        }
        while (!m_open.empty())
            closeUnended(int(m_text.size()));
        return checkRoot();
    }

private:
    QStringView name(qsizetype start, qsizetype end) const {
        return m_text.mid(start, end - start);
    }

    void reportFault(const MarkupNode& node) {
        m_illFormed = true;
        if (m_log.isFull())
            return;
        if (node.fault == NodeFault::Unterminated) {
            m_log.add(faultRecordName(node.fault),
                      {{"type", QString::fromLatin1(nodeTypeName(node.kind))},
                       {"offset", QString::number(node.start)}});
        } else {
            m_log.add(faultRecordName(node.fault), {{"offset", QString::number(node.start)}});
        }
    }

    void openElement(const MarkupNode& node) {
        const int parent = m_open.empty() ? 0 : m_open.back().entry;
        const int entry = m_index.append();
        ElementEntry& e = m_index[entry];
        e.start = int(node.start);
        e.startTagLength = int(node.end - node.start);
        e.length = e.startTagLength;
        e.level = int(m_open.size()) + 1;
        if (node.fault != NodeFault::None)
            e.flags |= ElementEntry::IllFormed;
        m_index.appendChild(parent, entry);
        if (node.kind == NodeKind::EmptyElementTag) {
            m_index[entry].flags |= ElementEntry::EmptyElementTag;
            return;
        }
        const std::uint64_t hash = hashName(name(node.nameStart, node.nameEnd), m_ignoreCase);
        m_open.push_back({entry, node.nameStart, node.nameEnd, hash});
        ++m_openNames[hash];
    }

    void popOpen() {
        --m_openNames[m_open.back().nameHash]; // kept at 0: names come back
        m_open.pop_back();
    }

    // Closes the innermost open element at `offset` without an end tag.
    void closeUnended(int offset) {
        const OpenElement& open = m_open.back();
        ElementEntry& e = m_index[open.entry];
        e.length = offset - e.start;
        e.flags |= ElementEntry::EndTagMissing;
        m_illFormed = true;
        if (!m_log.isFull()) {
            m_log.add("unended_start_tag",
                      {{"tagname", name(open.nameStart, open.nameEnd).toString()},
                       {"offset", QString::number(e.start)},
                       {"offset2", QString::number(offset)}});
        }
        popOpen();
    }

    void closeElement(const MarkupNode& node) {
        const QStringView endName = name(node.nameStart, node.nameEnd);
        const std::uint64_t hash = hashName(endName, m_ignoreCase);
        // The counts of open names make an end tag that closes nothing cost
        // nothing, however deep the nesting.
        int match = -1;
        if (auto it = m_openNames.find(hash); it != m_openNames.end() && it->second > 0) {
            for (int i = int(m_open.size()) - 1; i >= 0; --i) {
                const OpenElement& open = m_open[size_t(i)];
                if (open.nameHash == hash &&
                    namesEqual(name(open.nameStart, open.nameEnd), endName, m_ignoreCase)) {
                    match = i;
                    break;
                }
            }
        }
        if (match < 0) {
            m_illFormed = true;
            if (!m_log.isFull()) {
                m_log.add("lone_end_tag", {{"tagname", endName.toString()},
                                           {"offset", QString::number(node.start)}});
            }
            return;
        }
        while (int(m_open.size()) - 1 > match)
            closeUnended(int(node.start));
        ElementEntry& e = m_index[m_open.back().entry];
        e.length = int(node.end) - e.start;
        e.endTagLength = int(node.end - node.start);
        popOpen();
    }

    bool checkRoot() {
        const int root = m_index[0].firstChild;
        if (root == 0) {
            m_log.add("no_root_element");
            return false;
        }
        if (m_index[root].nextSibling != 0) {
            m_log.add("root_has_sibling");
            return false;
        }
        return !m_illFormed;
    }

    QStringView m_text;
    bool m_ignoreCase;
    ElementIndex& m_index;
    DiagnosticLog& m_log;
    std::vector<OpenElement> m_open;
    std::unordered_map<std::uint64_t, int> m_openNames;
    bool m_illFormed = false;
};

} // namespace

bool parseMarkup(QStringView text, bool ignoreNameCase, ElementIndex& index, DiagnosticLog& log) {
    return Parser(text, ignoreNameCase, index, log).run();
}

} // namespace corvane::xml
