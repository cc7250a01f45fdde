#include "pages/host/PageTexts.h"

#include "i18n/LanguageTexts.h"
#include "pages/host/PageControls.h"
#include "ui/base/Control.h"

#include <cmath>

namespace corvane::pages {

namespace {

QString lookup(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

} // namespace

void applyPageTexts(PageControls& controls, std::span<const PageText> texts,
                    std::span<const PageName> names) {
    for (const PageText& binding : texts) {
        ui::Control* target = controls.control(binding.control);
        if (binding.text > 0) {
            target->setText(lookup(binding.text));
            target->setAccessibleText(lookup(binding.text));
        }
        if (binding.tip > 0) {
            target->setToolTip(lookup(binding.tip));
            target->setAccessibleText(lookup(binding.tip));
        }
    }
    for (const PageName& binding : names)
        controls.control(binding.control)->setAccessibleText(lookup(binding.text));
}

QRect scaledRect(int x, int y, int w, int h, double scale) {
    return QRect(int(std::lround(x * scale)), int(std::lround(y * scale)),
                 int(std::lround(w * scale)), int(std::lround(h * scale)));
}

} // namespace corvane::pages
