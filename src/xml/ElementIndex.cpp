#include "xml/ElementIndex.h"

#include <algorithm>
#include <cstring>

namespace corvane::xml {

void ElementIndex::reset(int textLength) {
    m_pages.clear();
    m_count = 0;
    m_firstPageCapacity = std::min(PageSize, textLength / 64 + 8);
    addPage(m_firstPageCapacity);
    const int root = append();
    (*this)[root].length = textLength;
}

void ElementIndex::addPage(int capacity) {
    m_pages.push_back(std::make_unique<ElementEntry[]>(size_t(capacity)));
}

int ElementIndex::append() {
    const int entry = m_count;
    const int page = entry >> PageBits;
    const int slot = entry & (PageSize - 1);
    if (page == 0 && slot == m_firstPageCapacity) {
        // The first page grows by half until it is a full page.
        const int capacity = std::min(PageSize, m_firstPageCapacity + m_firstPageCapacity / 2 + 8);
        auto grown = std::make_unique<ElementEntry[]>(size_t(capacity));
        std::copy(m_pages[0].get(), m_pages[0].get() + m_firstPageCapacity, grown.get());
        m_pages[0] = std::move(grown);
        m_firstPageCapacity = capacity;
    } else if (page > 0 && slot == 0) {
        addPage(PageSize);
    }
    ++m_count;
    (*this)[entry] = ElementEntry{};
    return entry;
}

int ElementIndex::lastChild(int parent) const {
    const int first = (*this)[parent].firstChild;
    return first == 0 ? 0 : (*this)[first].previousSibling;
}

void ElementIndex::appendChild(int parent, int child) {
    ElementEntry& p = (*this)[parent];
    ElementEntry& c = (*this)[child];
    c.parent = parent;
    c.nextSibling = 0;
    if (p.firstChild == 0) {
        p.firstChild = child;
        c.previousSibling = child;
        return;
    }
    ElementEntry& first = (*this)[p.firstChild];
    const int last = first.previousSibling;
    (*this)[last].nextSibling = child;
    c.previousSibling = last;
    first.previousSibling = child;
}

void ElementIndex::insertAfter(int sibling, int child) {
    ElementEntry& s = (*this)[sibling];
    ElementEntry& c = (*this)[child];
    c.parent = s.parent;
    c.previousSibling = sibling;
    c.nextSibling = s.nextSibling;
    if (s.nextSibling != 0)
        (*this)[s.nextSibling].previousSibling = child;
    else
        (*this)[(*this)[s.parent].firstChild].previousSibling = child;
    s.nextSibling = child;
}

void ElementIndex::shiftSubtree(int element, int delta) {
    int node = element;
    for (;;) {
        (*this)[node].start += delta;
        if ((*this)[node].firstChild != 0) {
            node = (*this)[node].firstChild;
            continue;
        }
        while (node != element && (*this)[node].nextSibling == 0)
            node = (*this)[node].parent;
        if (node == element)
            return;
        node = (*this)[node].nextSibling;
    }
}

void ElementIndex::shiftChildren(int element, int delta) {
    for (int child = (*this)[element].firstChild; child != 0; child = (*this)[child].nextSibling)
        shiftSubtree(child, delta);
}

void ElementIndex::shiftFollowing(int element, int delta) {
    for (int node = element; node != 0; node = (*this)[node].parent) {
        for (int next = (*this)[node].nextSibling; next != 0; next = (*this)[next].nextSibling)
            shiftSubtree(next, delta);
        (*this)[(*this)[node].parent].length += delta;
    }
}

} // namespace corvane::xml
