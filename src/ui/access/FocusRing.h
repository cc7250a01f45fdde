#pragma once
// A ring drawn around the control that has the keyboard focus, whatever the control draws
// itself, so the focus can be followed with the keyboard alone. It lies above the focused
// control in its window and lets the mouse through.

#include <QColor>

namespace corvane::ui {

// Starts following the focus in every window of the application. Calling it again does
// nothing.
void installFocusRing();

// The ring's colour: the accent colour where it stands out enough from the window,
// panel and button colours (a contrast ratio of at least 3:1), else the ordinary text
// colour.
QColor focusRingColour();

// The contrast ratio of two colours (1 to 21), from their relative luminance.
double contrastRatio(const QColor& a, const QColor& b);

} // namespace corvane::ui
