#pragma once
// Check box: an indicator (skin images or a drawn box with a tick) and its text.

#include "ui/controls/ButtonBase.h"

namespace corvane::ui {

class CheckBox : public ButtonBase {
public:
    CheckBox(int id, QWidget* parent);

    // Never notifies.
    void setChecked(bool on);
    bool isChecked() const { return m_checked; }

    // Indicator images for the unchecked and checked states (drawn when missing).
    void setImages(const QString& off, const QString& on);

    // A click toggles the box and notifies Click with param1 = the new state (0 or 1).

protected:
    void clicked() override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_off, m_on;
    bool m_checked = false;
};

// Draws a check box or radio indicator (16 pixels, or the image) at the left of r, centred
// vertically, then the control's text; shared with RadioButton.
void paintIndicatorAndText(QPainter& p, const Control& c, const QRect& r, bool checked, bool round,
                           bool hovered, const QString& image);

} // namespace corvane::ui
