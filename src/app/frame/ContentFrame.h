#pragma once

#include "ui/controls/StaticText.h"

namespace corvane::app {

// The rounded frame the page shown is drawn in, with a short accent mark on its top corner
// at the reading start and on the opposite bottom corner. The window places it; the page
// container fills it exactly, so nothing of a page lies on or outside its border. Lets
// the mouse through.
class ContentFrame : public ui::PassiveControl {
public:
    ContentFrame(int id, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace corvane::app
