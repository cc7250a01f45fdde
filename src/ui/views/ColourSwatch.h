#pragma once
// Colour button: a swatch of one colour, optionally in a group of which one is on
// (preset colours, colour slots).

#include "ui/controls/GroupedButton.h"

namespace corvane::ui {

class ColourSwatch : public GroupedButton {
public:
    ColourSwatch(int id, QWidget* parent);

    void setColour(const QColor& colour);
    QColor colour() const { return m_colour; }

    // Every click turns the swatch on when it has a group (the others of the group off)
    // and notifies Click with param1 = its colour as 0x00BBGGRR (see Colour.h).

protected:
    void clicked() override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour = Qt::white;
};

} // namespace corvane::ui
