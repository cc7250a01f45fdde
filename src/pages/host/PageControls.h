#pragma once
// A page's controls inside the main window: created in the page's container under the
// page's own numbers (PageIds.h turns them into window ids) and found again by them.

#include "pages/host/PageIds.h"
#include "ui/base/Dialog.h"
#include "ui/views/Picture.h"

#include <QLoggingCategory>

#include <vector>

namespace corvane::pages {

Q_DECLARE_LOGGING_CATEGORY(lcPages)

class PageControls {
public:
    PageControls(ui::Dialog& window, ui::Panel& container, PageSlot slot)
        : m_window(window), m_container(container), m_slot(slot) {}
    PageControls(const PageControls&) = delete;
    PageControls& operator=(const PageControls&) = delete;

    ui::Dialog& window() const { return m_window; }
    ui::Panel& container() const { return m_container; }
    PageSlot slot() const { return m_slot; }

    // Creates control `local` of kind T in `inside` (the page's container when null).
    // A number outside 1..999 or one the page used already is refused: the refusal is
    // logged and kept (refusedIds(); the page tests fail on it), and the page still gets
    // a control to work with, one that carries no id and so never notifies.
    template <class T> T* add(int local, const QRect& rect = {}, QWidget* inside = nullptr) {
        QWidget* parent = inside ? inside : &m_container;
        const int id = pageControlId(m_slot, local);
        if (id > 0) {
            if (T* made = m_window.add<T>(id, rect, parent))
                return made;
        }
        refuse(local);
        return m_window.add<T>(0, rect, parent);
    }
    // A decoration that is never looked up or notified (backgrounds, separators).
    template <class T> T* addDecoration(const QRect& rect = {}, QWidget* inside = nullptr) {
        return m_window.add<T>(0, rect, inside ? inside : &m_container);
    }

    // The page's control `local`, nullptr when there is none of kind T.
    ui::Control* control(int local) const;
    template <class T> T* find(int local) const { return dynamic_cast<T*>(control(local)); }

    // The numbers add refused, in order.
    const std::vector<int>& refusedIds() const { return m_refused; }

private:
    void refuse(int local);

    ui::Dialog& m_window;
    ui::Panel& m_container;
    PageSlot m_slot;
    std::vector<int> m_refused;
};

} // namespace corvane::pages
