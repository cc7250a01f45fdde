#pragma once
// The dark look of the layer: its colours, the skin images and the application-wide style.
// Every image is optional: a control whose image is missing draws itself with these
// colours instead. Images and the style are for the UI thread only.

#include <QColor>
#include <QPixmap>
#include <QString>

namespace corvane::ui::skin {

QColor windowColour();       // window backgrounds
QColor panelColour();        // panels, list and field backgrounds
QColor faceColour();         // buttons at rest
QColor hoverColour();        // buttons and rows under the mouse
QColor pressedColour();      // buttons held down
QColor borderColour();       // frames
QColor textColour();         // ordinary text
QColor mutedTextColour();    // secondary text (descriptions, captions)
QColor disabledTextColour(); // text of disabled controls
QColor accentColour();       // the selection colour setting

// Full path of a skin image: absolute names stay, others are joined to the skin folder;
// backslashes become slashes. Empty for an empty name.
QString imagePath(const QString& name);

// The image, or a null pixmap when the name is empty or the file is missing or unreadable.
// Results are cached by full path.
QPixmap image(const QString& name);

// Gives the application the Fusion style and a dark palette built from the colours above
// (tooltips, menus, combo boxes, sliders and fields follow it). Does nothing without a
// QApplication. Call again after the selection colour changed.
void apply();

// apply(), once per process; Dialog::create calls it.
void ensureApplied();

} // namespace corvane::ui::skin
