#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace corvane::xml {

// Where one element lies in the document text, and its place in the tree.
// Offsets and lengths are in UTF-16 code units. Links are entry numbers; 0 is
// the virtual root (for links: none).
struct ElementEntry {
    enum Flag : std::uint32_t {
        EmptyElementTag = 1, // written <name/>
        IllFormed = 2,       // its start tag is broken
        EndTagMissing = 4,   // closed without its end tag
    };

    int start = 0;          // offset of '<'
    int length = 0;         // up to and including the end tag
    int startTagLength = 0; // the start tag (or the whole empty-element tag)
    int endTagLength = 0;   // 0 for an empty-element tag or a missing end tag
    int level = 0;          // nesting depth, 1 for the root element
    std::uint32_t flags = 0;
    int parent = 0;
    int firstChild = 0;
    int nextSibling = 0;
    // The previous sibling; for a first child, the last child of the same
    // parent, so that appending a child needs no walk along the list.
    int previousSibling = 0;

    int end() const { return start + length; }
    int contentEnd() const { return end() - endTagLength; }
};

// The element entries of a document, in pages of 65,536 so that a large
// document never copies the whole index to grow it. Entry 0 is a virtual root
// whose children are the top-level elements.
class ElementIndex {
public:
    static constexpr int PageBits = 16;
    static constexpr int PageSize = 1 << PageBits;

    // Drops every entry, sizes the first page for a text of that length and
    // adds the virtual root spanning the text.
    void reset(int textLength);

    int count() const { return m_count; }
    ElementEntry& operator[](int entry) {
        return m_pages[size_t(entry >> PageBits)][entry & (PageSize - 1)];
    }
    const ElementEntry& operator[](int entry) const {
        return m_pages[size_t(entry >> PageBits)][entry & (PageSize - 1)];
    }

    // A new zeroed entry; returns its number.
    int append();

    int lastChild(int parent) const;
    void appendChild(int parent, int child);
    void insertAfter(int sibling, int child);

    // After text of `delta` units was inserted (or removed, when negative)
    // inside `element` or right behind it: every element that follows it in the
    // text moves, and every ancestor grows. `element` itself and its children
    // are left to the caller.
    void shiftFollowing(int element, int delta);
    // Moves an element and everything inside it by `delta`.
    void shiftSubtree(int element, int delta);
    void shiftChildren(int element, int delta);

private:
    void addPage(int capacity);

    std::vector<std::unique_ptr<ElementEntry[]>> m_pages;
    int m_firstPageCapacity = 0;
    int m_count = 0;
};

} // namespace corvane::xml
