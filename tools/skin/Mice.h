#pragma once
// Top-down pictures of the two mice, on transparent backgrounds.
//
// The full pictures are 360 x 420 and are drawn in the coordinates the device
// files' callouts use: each key's callout starts at a point on that key
// (data/device/corvane_m1.xml and corvane_m2.xml, attribute rect = x1#x2#y), so
// the buttons below sit exactly under those points. The list thumbnails are the
// same drawings, smaller and turned a little.

#include <QPainter>

namespace corvane::skin {

// M1: symmetric wireless mouse with a light strip round the palm rest.
void paintMouseM1(QPainter& painter, const QSize& size);
void paintMouseM1Thumbnail(QPainter& painter, const QSize& size);

// M2: right-handed ergonomic wired mouse with two extra top buttons.
void paintMouseM2(QPainter& painter, const QSize& size);
void paintMouseM2Thumbnail(QPainter& painter, const QSize& size);

// The neutral outline for a user's own model that brings no picture: the shell and
// the usual keys (buttons, wheel, DPI button, two thumb buttons) as lines only.
void paintMouseOutline(QPainter& painter, const QSize& size);
void paintMouseOutlineThumbnail(QPainter& painter, const QSize& size);

} // namespace corvane::skin
