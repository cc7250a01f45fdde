#pragma once
// Picture (a skin image) and Panel (a container for other controls).

#include "ui/controls/StaticText.h"

namespace corvane::ui {

// Shows a skin image scaled to its rectangle. When the image is missing it draws a
// rounded panel in its fill colour (the panel colour by default; transparent draws
// nothing) with its title text centred, so a missing logo still reads.
class Picture : public PassiveControl {
public:
    Picture(int id, QWidget* parent);

    void setImage(const QString& name);
    QString image() const { return m_image; }
    // The image's own size; empty when it is missing.
    QSize imageSize() const;

    // Also serves as a plain colour area (a colour preview) with no image at all.
    void setFillColour(const QColor& colour);
    QColor fillColour() const { return m_fill; }
    // The image keeps its proportions, centred in the rectangle (a logo), instead of
    // filling it.
    void setKeepAspect(bool on);
    // The fill colour is drawn as a circle (a round mark).
    void setRound(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_image;
    QColor m_fill;
    bool m_keepAspect = false;
    bool m_round = false;
};

// A container: controls added with Dialog::add(id, rect, panel) live inside it and move,
// hide and show with it (page areas). Draws its image, else its fill colour (transparent
// by default). It takes mouse presses, so what lies beneath does not.
class Panel : public Control {
public:
    Panel(int id, QWidget* parent);
    void setImage(const QString& name);
    void setFillColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_image;
    QColor m_fill = Qt::transparent;
};

} // namespace corvane::ui
