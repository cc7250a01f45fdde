#include "pages/host/PageControls.h"

namespace corvane::pages {

Q_LOGGING_CATEGORY(lcPages, "corvane.pages")

ui::Control* PageControls::control(int local) const {
    const int id = pageControlId(m_slot, local);
    return id > 0 ? m_window.control(id) : nullptr;
}

void PageControls::refuse(int local) {
    m_refused.push_back(local);
    qCCritical(lcPages, "page %d: control %d refused (id out of range or taken)",
               static_cast<int>(m_slot), local);
}

} // namespace corvane::pages
