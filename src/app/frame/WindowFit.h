#pragma once
// app/frame: the window on a screen: fit, close policy, backdrop, battery, about box.
// How large the main window is drawn on a screen. The window is designed at a fixed size;
// on a smaller screen the whole interface is drawn smaller, by one factor, so that it
// fits the area the desktop leaves for windows. It is never drawn larger than designed,
// and never so small that its text cannot be read.

#include <QSize>

namespace corvane::app {

struct WindowFit {
    double scale = 1.0; // interface scale, design pixels to logical pixels
    QSize size;         // the window's size in logical pixels
};

// The smallest text size, in device pixels, of the design's smallest text (12 pixels at
// scale 1) that the fit may draw.
inline constexpr double kReadableDeviceScale = 0.6;

// available: the screen's available area in logical pixels; devicePixelRatio: the
// screen's scaling (1.5 at 150 %). The scale is the largest that fits both sides, at most
// 1, and at least kReadableDeviceScale / devicePixelRatio (where even that does not fit,
// the window is larger than the area and the caller maximises it).
WindowFit fitWindow(const QSize& designSize, const QSize& available, double devicePixelRatio);

} // namespace corvane::app
