#pragma once

#include "ui/controls/StaticText.h"

namespace corvane::app {

// A window area drawn from a skin image, or flat in its fill colour when the image is
// missing (square corners, unlike ui::Picture). Lets the mouse through, so a press on
// the caption bar still moves the window.
class Backdrop : public ui::PassiveControl {
public:
    Backdrop(int id, QWidget* parent);
    void setImage(const QString& name);
    void setFillColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_image;
    QColor m_fill;
};

} // namespace corvane::app
