#pragma once
// The texts of a page's controls, kept as tables and read from the language file, and
// the page layouts' design rectangles at the interface scale.

#include <QRect>

#include <span>

namespace corvane::pages {

class PageControls;

// A control's text and tooltip (0: none). Its accessible name is the tooltip when it has
// one, otherwise the text.
struct PageText {
    int control;
    int text;
    int tip = 0;
};

// A control without a visible text of its own, named after its label.
struct PageName {
    int control;
    int text;
};

void applyPageTexts(PageControls& controls, std::span<const PageText> texts,
                    std::span<const PageName> names);

// A rectangle given in design pixels, at the interface scale.
QRect scaledRect(int x, int y, int w, int h, double scale);

} // namespace corvane::pages
